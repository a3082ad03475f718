#include "SoColorCube.h"

#include "SoColorByte.h"

int SoColorCube::indexOf(int red, int green, int blue) {
    return (red >> 5) << 5 | (green >> 5) << 2 | (blue >> 6);
}

int SoColorCube::indexOf(const SbColor& colour) {
    return indexOf(SoColorByte::of(colour[0]), SoColorByte::of(colour[1]),
                   SoColorByte::of(colour[2]));
}

void SoColorCube::colorOf(int k, int rgb[3]) {
    rgb[0] = (k & 0xE0) * 255 / 0xE0;
    rgb[1] = (k & 0x1C) * 255 / 0x1C;
    rgb[2] = (k & 0x03) * 255 / 0x03;
}
