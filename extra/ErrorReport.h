#ifndef GRAPHICSDLL_ERRORREPORT_H
#define GRAPHICSDLL_ERRORREPORT_H

#include "Direct3D.h"
#include "LogLevel.h"

class ILogger;

// The standard report of a failed Direct3D or D3DX call.
extern const char* const kErrorReportFormat;    // "ERROR : %s : %i : %s"
// The report of a failed call while a blank texture is being filled.
extern const char* const kAddDataReportFormat;  // "ERROR : Could not add data to blank texture : %s : %i : %s"

// When result is a failure (negative), logs format with the result's name,
// the line and the file, and returns true; positive success codes such as
// S_FALSE pass silently. A null logger skips the report but not the check.
bool ReportIfFailed(ILogger* logger, int level, HRESULT result, int line,
                    const char* file, const char* format);

// Logs that Direct3DCreate9 gave no object (there is no result code to name).
void ReportNoDirect3D(ILogger* logger, int line, const char* file);

// True when `call` failed, after reporting it at `level` with the line of the
// reporting statement. Expects a member or local named `logger`; the build
// maps __FILE__ to the path below the repository root (extra/CActor.cpp).
#define D3D_FAILED(level, call) \
    ReportIfFailed(logger, (level), (call), __LINE__, __FILE__, kErrorReportFormat)

// As D3D_FAILED, with a report format of its own.
#define D3D_FAILED_AS(format, level, call) \
    ReportIfFailed(logger, (level), (call), __LINE__, __FILE__, (format))

#endif
