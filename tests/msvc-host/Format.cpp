#include "Format.h"

namespace {

struct Writer
{
    char* out;
    int size;
    int length;

    void Put(char c)
    {
        if (length + 1 < size)
            out[length++] = c;
    }
    void PutText(const char* text)
    {
        for (; *text != '\0'; ++text)
            Put(*text);
    }
    // Digits of a 32-bit value: 64-bit division would need the C runtime's
    // helpers on x86.
    void PutUnsigned(unsigned int value, unsigned int base, int minimumDigits = 1)
    {
        char digits[32];
        int count = 0;
        do
        {
            unsigned int digit = value % base;
            digits[count++] = static_cast<char>(digit < 10 ? '0' + digit : 'a' + digit - 10);
            value /= base;
        } while (value != 0);
        for (; count < minimumDigits; --minimumDigits)
            Put('0');
        while (count > 0)
            Put(digits[--count]);
    }
    void PutSigned(int value)
    {
        if (value < 0)
        {
            Put('-');
            PutUnsigned(0u - static_cast<unsigned int>(value), 10);
        }
        else
            PutUnsigned(static_cast<unsigned int>(value), 10);
    }
    // Fixed notation; enough for the log's values (below 4e9).
    void PutFixed(double value, int precision)
    {
        if (value < 0)
        {
            Put('-');
            value = -value;
        }
        if (!(value < 4.0e9))
        {
            PutText("(too large)");
            return;
        }
        unsigned int scale = 1;
        for (int i = 0; i < precision; ++i)
            scale *= 10;
        unsigned int whole = static_cast<unsigned int>(value);
        double fraction = (value - whole) * scale + 0.5;
        unsigned int fractionDigits = static_cast<unsigned int>(fraction);
        if (fractionDigits >= scale)
        {
            fractionDigits -= scale;
            ++whole;
        }
        PutUnsigned(whole, 10);
        if (precision > 0)
        {
            Put('.');
            PutUnsigned(fractionDigits, 10, precision);
        }
    }
};

}  // namespace

int FormatV(char* out, int size, const char* format, va_list args)
{
    Writer writer{out, size, 0};
    for (const char* p = format; *p != '\0'; ++p)
    {
        if (*p != '%')
        {
            writer.Put(*p);
            continue;
        }
        int precision = 6;
        if (p[1] == '.' && p[2] >= '0' && p[2] <= '9')
        {
            precision = p[2] - '0';
            p += 2;
        }
        switch (*++p)
        {
        case 's':
        {
            const char* text = va_arg(args, const char*);
            writer.PutText(text != nullptr ? text : "(null)");
            break;
        }
        case 'i':
        case 'd': writer.PutSigned(va_arg(args, int)); break;
        case 'u': writer.PutUnsigned(va_arg(args, unsigned int), 10); break;
        case 'x': writer.PutUnsigned(va_arg(args, unsigned int), 16); break;
        case 'c': writer.Put(static_cast<char>(va_arg(args, int))); break;
        case 'f': writer.PutFixed(va_arg(args, double), precision); break;
        case '%': writer.Put('%'); break;
        case '\0': --p; break;
        default:
            writer.Put('%');
            writer.Put(*p);
        }
    }
    if (size > 0)
        out[writer.length] = '\0';
    return writer.length;
}

int Format(char* out, int size, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    int length = FormatV(out, size, format, args);
    va_end(args);
    return length;
}

int Length(const char* text)
{
    int length = 0;
    while (text[length] != '\0')
        ++length;
    return length;
}

bool Equal(const char* left, const char* right)
{
    for (; *left == *right; ++left, ++right)
        if (*left == '\0')
            return true;
    return false;
}
