// Prints the bits of D3DX matrix results for one fixed list of inputs, so
// that two implementations (the Linux stand-in, Wine's d3dx9_29) can be
// compared float by float. Each line is
//   <function> <input words> = <16 result words>
// with every float written as its 8-digit IEEE-754 hex pattern; decimal
// printing would differ between C runtimes and hide the last bit.
#ifdef _WIN32
#include <windows.h>
#endif
#include <d3dx9.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

std::uint32_t Bits(float value)
{
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// The plug-in's conversion: degrees / 180 * pi in double, pi being the float
// nearest to it, rounded once to float.
float Radians(float degrees)
{
    const double kPi = 3.1415927410125732;
    return static_cast<float>(static_cast<double>(degrees) / 180.0 * kPi);
}

// sin and cos by their series in double precision: library functions may
// round differently on the two platforms, and the inputs must be the same
// bits on both. Accurate to well below a float's last bit for |x| <= 2 pi.
double Series(double x, double term, int first)
{
    double sum = term;
    for (int n = first; n < first + 40; n += 2)
    {
        term *= -x * x / (n * (n + 1));
        sum += term;
    }
    return sum;
}

float Sine(float x)
{
    return static_cast<float>(Series(x, x, 2));
}
float Cosine(float x)
{
    return static_cast<float>(Series(x, 1.0, 1));
}

// A fixed xorshift sequence: the same "random" inputs on every platform.
// Floats are made with float operations only, from 24 exact bits: GCC 12's
// vectoriser at -O3 drops the rounding of a double result to float when it
// goes straight back into double arithmetic, which would give the Linux and
// Windows builds different inputs.
class Sequence
{
public:
    float Next(float low, float high)
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        float fraction = static_cast<float>(state >> 8) * (1.0f / 16777216.0f);
        return low + (high - low) * fraction;
    }

private:
    std::uint32_t state = 0x2545F491u;
};

void Print(const char* function, const std::vector<float>& inputs, const D3DXMATRIX& result)
{
    std::printf("%s", function);
    for (float input : inputs)
        std::printf(" %08x", static_cast<unsigned>(Bits(input)));
    std::printf(" =");
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            std::printf(" %08x", static_cast<unsigned>(Bits(result.m[row][column])));
    std::printf("\n");
}

const float kAnglesInDegrees[] = {0.0f,   90.0f, 180.0f, 270.0f, 45.0f,  -30.0f,
                                  360.0f, 30.0f, 60.0f,  135.0f, -90.0f, 12.5f};

const float kCoordinates[] = {0.0f, 1.0f,    -1.0f,   2.5f,       -3.75f,
                              0.1f, 1000.0f, -0.001f, 3.1415927f, 1e-7f};

std::vector<D3DXMATRIX> PrintTranslations(Sequence& random)
{
    std::vector<D3DXMATRIX> results;
    auto emit = [&](float x, float y, float z) {
        D3DXMATRIX m;
        D3DXMatrixTranslation(&m, x, y, z);
        Print("Translation", {x, y, z}, m);
        results.push_back(m);
    };
    for (float x : kCoordinates)
        emit(x, -x * 0.5f, x * 2.0f);
    for (int i = 0; i < 20; ++i)
        emit(random.Next(-100, 100), random.Next(-100, 100), random.Next(-100, 100));
    return results;
}

std::vector<D3DXMATRIX> PrintScalings(Sequence& random)
{
    std::vector<D3DXMATRIX> results;
    auto emit = [&](float x, float y, float z) {
        D3DXMATRIX m;
        D3DXMatrixScaling(&m, x, y, z);
        Print("Scaling", {x, y, z}, m);
        results.push_back(m);
    };
    for (float x : kCoordinates)
        emit(x, x + 1.0f, -x);
    for (int i = 0; i < 20; ++i)
        emit(random.Next(-10, 10), random.Next(-10, 10), random.Next(-10, 10));
    return results;
}

// Angles reach D3DX as the plug-in passes them: degrees converted to radians,
// yaw from the y angle, pitch from x, roll from z.
std::vector<D3DXMATRIX> PrintRotations(Sequence& random)
{
    std::vector<D3DXMATRIX> results;
    auto emit = [&](float yaw, float pitch, float roll) {
        D3DXMATRIX m;
        D3DXMatrixRotationYawPitchRoll(&m, yaw, pitch, roll);
        Print("RotationYawPitchRoll", {yaw, pitch, roll}, m);
        results.push_back(m);
    };
    const float kCombined[] = {0.0f, 90.0f, 180.0f, 270.0f, 45.0f, -30.0f};
    for (float yaw : kCombined)
        for (float pitch : kCombined)
            for (float roll : kCombined)
                emit(Radians(yaw), Radians(pitch), Radians(roll));
    for (float angle : kAnglesInDegrees)
    {
        emit(Radians(angle), 0.0f, 0.0f);
        emit(0.0f, Radians(angle), 0.0f);
        emit(0.0f, 0.0f, Radians(angle));
    }
    for (int i = 0; i < 40; ++i)
        emit(Radians(random.Next(-720, 720)), Radians(random.Next(-720, 720)),
             Radians(random.Next(-720, 720)));
    return results;
}

void PrintMultiply(const D3DXMATRIX& left, const D3DXMATRIX& right)
{
    D3DXMATRIX m;
    D3DXMatrixMultiply(&m, &left, &right);
    std::vector<float> inputs(&left.m[0][0], &left.m[0][0] + 16);
    inputs.insert(inputs.end(), &right.m[0][0], &right.m[0][0] + 16);
    Print("Multiply", inputs, m);
}

D3DXMATRIX RandomMatrix(Sequence& random)
{
    D3DXMATRIX m;
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            m.m[row][column] = random.Next(-50, 50);
    return m;
}

// The products a character's world matrix is made of (rotation x translation,
// then x scaling), plus products of arbitrary matrices.
void PrintProducts(const std::vector<D3DXMATRIX>& rotations,
                   const std::vector<D3DXMATRIX>& translations,
                   const std::vector<D3DXMATRIX>& scalings, Sequence& random)
{
    for (std::size_t i = 0; i < rotations.size(); i += 7)
    {
        D3DXMATRIX rotated;
        D3DXMatrixMultiply(&rotated, &rotations[i], &translations[i % translations.size()]);
        PrintMultiply(rotations[i], translations[i % translations.size()]);
        PrintMultiply(rotated, scalings[i % scalings.size()]);
    }
    for (int i = 0; i < 40; ++i)
        PrintMultiply(RandomMatrix(random), RandomMatrix(random));
}

void PrintLookAt(const D3DXVECTOR3& eye, const D3DXVECTOR3& at, const D3DXVECTOR3& up)
{
    D3DXMATRIX m;
    D3DXMatrixLookAtLH(&m, &eye, &at, &up);
    Print("LookAtLH", {eye.x, eye.y, eye.z, at.x, at.y, at.z, up.x, up.y, up.z}, m);
}

// Views as the camera builds them: a target one unit away in the direction
// of two angles, an up direction of (0, cos(second + 90 degrees), 0).
void PrintLookAts(Sequence& random)
{
    PrintLookAt(D3DXVECTOR3(0, 0, -1), D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 1, 0));
    const D3DXVECTOR3 positions[] = {D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 3, -10),
                                     D3DXVECTOR3(12.5f, -4, 7)};
    for (const D3DXVECTOR3& position : positions)
        for (float first : kAnglesInDegrees)
            for (float second : {90.0f, 270.0f, 250.0f, 45.0f, 135.0f, 300.0f})
            {
                float r1 = Radians(first);
                float r2 = Radians(second);
                D3DXVECTOR3 at(position.x + Cosine(r1) * Sine(r2), position.y + Cosine(r2),
                               position.z + Sine(r1) * Sine(r2));
                D3DXVECTOR3 up(0, Cosine(Radians(second + 90.0f)), 0);
                PrintLookAt(position, at, up);
            }
    for (int i = 0; i < 40; ++i)
    {
        D3DXVECTOR3 eye(random.Next(-50, 50), random.Next(-50, 50), random.Next(-50, 50));
        D3DXVECTOR3 at(random.Next(-50, 50), random.Next(-50, 50), random.Next(-50, 50));
        D3DXVECTOR3 up(random.Next(-1, 1), random.Next(0.1f, 1), random.Next(-1, 1));
        PrintLookAt(eye, at, up);
    }
}

void PrintPerspective(float fovy, float aspect, float zn, float zf)
{
    D3DXMATRIX m;
    D3DXMatrixPerspectiveFovLH(&m, fovy, aspect, zn, zf);
    Print("PerspectiveFovLH", {fovy, aspect, zn, zf}, m);
}

// The projection as the graphics system sets it up: pi/4, width / height,
// near 1, the host's far distance.
void PrintPerspectives(Sequence& random)
{
    const float kQuarterPi = 0.78539819f;
    const int kSizes[][2] = {{800, 600},   {1024, 768},  {640, 480}, {320, 240},
                             {1280, 1024}, {1920, 1080}, {256, 256}};
    for (const auto& size : kSizes)
        for (float zf : {100.0f, 1000.0f, 5000.0f, 1e6f})
        {
            float aspect = static_cast<float>(static_cast<double>(size[0]) / size[1]);
            PrintPerspective(kQuarterPi, aspect, 1.0f, zf);
        }
    for (int i = 0; i < 40; ++i)
    {
        float zn = random.Next(0.01f, 10);
        PrintPerspective(random.Next(0.1f, 3), random.Next(0.2f, 4), zn,
                         zn + random.Next(1, 100000));
    }
}

}  // namespace

int main()
{
    Sequence random;
    std::vector<D3DXMATRIX> translations = PrintTranslations(random);
    std::vector<D3DXMATRIX> scalings = PrintScalings(random);
    std::vector<D3DXMATRIX> rotations = PrintRotations(random);
    PrintProducts(rotations, translations, scalings, random);
    PrintLookAts(random);
    PrintPerspectives(random);
    return 0;
}
