#ifndef GRAPHICSDLL_ANGLES_H
#define GRAPHICSDLL_ANGLES_H

// Host angles arrive in degrees. Camera and characters turn them into
// radians the same way, so that equal degrees always give the same float:
// pi is the float nearest to it, the quotient and product are taken in
// double precision and the result is rounded once to float.
inline float DegreesToRadians(float degrees)
{
    const double kPi = 3.1415927410125732;
    return static_cast<float>(static_cast<double>(degrees) / 180.0 * kPi);
}

#endif
