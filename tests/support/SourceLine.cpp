#include "SourceLine.h"

#include <fstream>

int SourceLine(const std::string& file, const std::string& snippet, int nth)
{
    std::ifstream source(std::string(SOURCE_ROOT) + "/" + file);
    std::string line;
    for (int number = 1; std::getline(source, line); ++number)
        if (line.find(snippet) != std::string::npos && --nth == 0)
            return number;
    return 0;
}

std::string ExpectedReport(int level, const std::string& name, const std::string& file,
                           const std::string& snippet, int nth)
{
    return std::to_string(level) + ": ERROR : " + name + " : " +
           std::to_string(SourceLine(file, snippet, nth)) + " : " + file;
}
