#ifndef GRAPHICSDLL_LOGLEVEL_H
#define GRAPHICSDLL_LOGLEVEL_H

// The levels of the lines the plug-in sends to the host's logger, named by
// what a line is; two names share a number where the host sees one level.
const int kLevelHeading = 1;  // the one section heading, "[Video Settings]"
const int kLevelInfo = 2;     // progress and settings lines
const int kLevelError = 2;    // error reports, unless severe
const int kLevelDone = 3;     // the "OK" that closes a progress line
const int kLevelSevere = 3;   // reports of failures that end device creation or a reset

#endif
