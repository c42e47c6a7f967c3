#ifndef STANDIN_MATHRECORDING_H
#define STANDIN_MATHRECORDING_H

// The one link between the D3DX matrix functions (D3DXMath.cpp) and the
// recorder. A program that uses the math without the recorder defines
// RecordMathCall itself, doing nothing.

namespace standin {

// How the floats of a matrix function's arguments group in its record.
enum class MathArguments
{
    Scalars,   // each float an argument
    Vectors,   // three floats per argument
    Matrices   // sixteen floats per argument, row by row
};

// Records one call of the named D3DX matrix function with its inputs (the
// output matrix is not an argument of the record).
void RecordMathCall(const char* function, MathArguments grouping, const float* values, int count);

}  // namespace standin

#endif
