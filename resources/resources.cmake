# The module's named resources, one line each: type, name, file. A file is taken
# from this folder; tallow_system_resource copies one from the build machine into
# the build at configure time, so it never enters the repository. Linux embeds
# every entry as a C++ array; the Windows resource script includes the same list.
tallow_resource(FXB FactoryBank FactoryBank.fxb)
tallow_system_resource(TTF Vera /usr/share/fonts/truetype/ttf-bitstream-vera/Vera.ttf ttf-bitstream-vera)
tallow_resource(PNG commonTextures commonTextures.png)
tallow_resource(PNG texture texture.png)
