#include "RecordingLogger.h"

#include <cstdarg>
#include <cstdio>

#include "HostAllocations.h"

void RecordingLogger::Log(int level, const char* format, ...)
{
    char text[2048];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    HostAllocations mine;
    lines.push_back(std::to_string(level) + ": " + text);
}

void RecordingLogger::NewLine()
{
    HostAllocations mine;
    lines.push_back("NewLine");
}

std::vector<std::string> RecordingLogger::Errors() const
{
    std::vector<std::string> errors;
    for (const std::string& line : lines)
        if (line.find(": ERROR") == 1)
            errors.push_back(line);
    return errors;
}
