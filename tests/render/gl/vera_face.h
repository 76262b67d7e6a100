// The Vera face bytes for tests, read from the system's copy.
#pragma once

#include <cstdio>
#include <vector>

namespace PaintwellTest {

inline const std::vector<unsigned char>& veraFace() {
    static const std::vector<unsigned char> bytes = [] {
        std::vector<unsigned char> data;
        if (FILE* file = std::fopen(TALLOW_VERA_PATH, "rb")) {
            unsigned char buffer[65536];
            std::size_t n;
            while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) data.insert(data.end(), buffer, buffer + n);
            std::fclose(file);
        }
        return data;
    }();
    return bytes;
}

}  // namespace PaintwellTest
