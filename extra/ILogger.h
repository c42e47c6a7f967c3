#ifndef GRAPHICSDLL_ILOGGER_H
#define GRAPHICSDLL_ILOGGER_H

// The host's logger. The plug-in calls only these two operations, in these
// slots, and never creates, copies or deletes a logger: the host owns it and
// keeps it alive until the graphics system is destroyed.
class ILogger
{
public:
    // One log line in printf notation; level 1 is a heading, 2 progress and
    // most errors, 3 the "OK" that ends a progress line and severe errors.
    virtual void Log(int level, const char* format, ...) = 0;
    // Marks a break in the log; called only at a few fixed places.
    virtual void NewLine() = 0;

protected:
    // Hosts delete their loggers through their own type, never through this one.
    ~ILogger() = default;
};

#endif
