#ifndef HOST_CONSOLELOGGER_H
#define HOST_CONSOLELOGGER_H

#include <cstdio>
#include <string>

#include "ILogger.h"

// The host's logger: each line goes to the terminal with its level in front
// ("[2] Creating the graphics system...") and, when a log file is open, to
// that file as well. The host writes its own lines through Note ("[host]").
class ConsoleLogger final : public ILogger
{
public:
    ~ConsoleLogger();

    // Opens (truncates) the log file; false when it cannot be written.
    bool OpenFile(const std::string& path);

    void Log(int level, const char* format, ...) override;
    void NewLine() override;

    // A line of the host's own, printf style.
    void Note(const char* format, ...);

    // Error reports the plug-in has sent ("ERROR : ...").
    int errorReports = 0;

private:
    void Write(const char* prefix, const char* text);

    std::FILE* file = nullptr;
};

#endif
