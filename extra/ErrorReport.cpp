#include "ErrorReport.h"

#include <cstdlib>

#include "ILogger.h"
#include "../errors/ErrorNames.h"

const char* const kErrorReportFormat = "ERROR : %s : %i : %s";
const char* const kAddDataReportFormat =
    "ERROR : Could not add data to blank texture : %s : %i : %s";

bool ReportIfFailed(ILogger* logger, int level, HRESULT result, int line,
                    const char* file, const char* format)
{
    if (result >= 0)
        return false;
    if (logger == nullptr)
        return true;

    // Names are ASCII, so the conversion never fails; the limit keeps the
    // terminator inside the buffer whatever the table holds.
    const std::size_t kNameCapacity = 1000;
    char name[kNameCapacity];
    if (std::wcstombs(name, ErrorName(result), kNameCapacity - 1) == static_cast<std::size_t>(-1))
        name[0] = '\0';
    name[kNameCapacity - 1] = '\0';
    logger->Log(level, format, name, line, file);
    return true;
}

void ReportNoDirect3D(ILogger* logger, int line, const char* file)
{
    if (logger != nullptr)
        logger->Log(kLevelSevere, "ERROR : Could not create Direct3D object : %i : %s", line, file);
}
