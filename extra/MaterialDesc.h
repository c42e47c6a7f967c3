#ifndef GRAPHICSDLL_MATERIALDESC_H
#define GRAPHICSDLL_MATERIALDESC_H

// A material record: the host fills it, characters copy it with SetMaterial,
// the frame compares records by address. Colours are red, green, blue with
// 1.0 as full intensity; there is no alpha.
struct MaterialDesc
{
    float ambient[3];  // ambient red, green, blue
    float diffuse[3];  // diffuse red, green, blue
    float specular[3]; // specular red, green, blue
    float emissive[3]; // emissive red, green, blue
    float power;       // specular power
};

#endif
