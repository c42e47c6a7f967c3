#ifndef TESTS_RECORDINGLOGGER_H
#define TESTS_RECORDINGLOGGER_H

#include <string>
#include <vector>

#include "ILogger.h"

// A host logger that keeps every line as "<level>: <text>" and every
// NewLine call as "NewLine", in order.
class RecordingLogger : public ILogger
{
public:
    void Log(int level, const char* format, ...) override;
    void NewLine() override;

    // Only the lines that start with "ERROR".
    std::vector<std::string> Errors() const;

    std::vector<std::string> lines;
};

#endif
