#include "ConsoleLogger.h"

#include <cstdarg>
#include <cstring>

ConsoleLogger::~ConsoleLogger()
{
    if (file != nullptr)
        std::fclose(file);
}

bool ConsoleLogger::OpenFile(const std::string& path)
{
    file = std::fopen(path.c_str(), "w");
    return file != nullptr;
}

void ConsoleLogger::Log(int level, const char* format, ...)
{
    char text[2048];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (std::strncmp(text, "ERROR", 5) == 0)
        ++errorReports;
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "[%d] ", level);
    Write(prefix, text);
}

void ConsoleLogger::NewLine()
{
    Write("", "");
}

void ConsoleLogger::Note(const char* format, ...)
{
    char text[2048];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    Write("[host] ", text);
}

// Flushed line by line: the log must be complete even when the plug-in
// takes the process down.
void ConsoleLogger::Write(const char* prefix, const char* text)
{
    std::printf("%s%s\n", prefix, text);
    std::fflush(stdout);
    if (file != nullptr)
    {
        std::fprintf(file, "%s%s\n", prefix, text);
        std::fflush(file);
    }
}
