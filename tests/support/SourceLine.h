#ifndef TESTS_SOURCELINE_H
#define TESTS_SOURCELINE_H

#include <string>

// The line number of the nth line (1-based) of a repository source file
// that contains `snippet`; 0 when there is none. Lets tests expect the exact
// line of an error report without hard-coding it.
int SourceLine(const std::string& file, const std::string& snippet, int nth = 1);

// The error report that the reporting statement containing `snippet` in
// `file` writes for `name` at `level`: "<level>: ERROR : <name> : <line> : <file>".
std::string ExpectedReport(int level, const std::string& name, const std::string& file,
                           const std::string& snippet, int nth = 1);

#endif
