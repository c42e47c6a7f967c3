#include "Alternate.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace bench {

namespace {

// Column widths of the table.
const int kJob = 36, kWay = 22, kTurns = 5, kTime = 10, kRatio = 8, kSpread = 17;

// A calibration run shorter than this share of the turn time is too coarse
// an estimate of one iteration: ten times as many are tried.
const double kShortestEstimate = 0.1;
const long kMostIterations = 100000000;

// Iterations for one turn of the way to take about `seconds`.
long Calibrate(const Turn& turn, double seconds)
{
    long iterations = 1;
    double taken = turn(iterations);
    while (taken < seconds * kShortestEstimate && iterations < kMostIterations)
    {
        iterations *= 10;
        taken = turn(iterations);
    }
    if (taken <= 0)
        return iterations;
    return std::clamp(std::lround(iterations * seconds / taken), 1L, kMostIterations);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

std::string Number(const char* format, double value)
{
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// "45.2 us", "1.37 s": three significant digits in the unit that fits.
std::string Duration(double seconds)
{
    const char* units[] = {"ns", "us", "ms", "s"};
    double value = seconds * 1e9;
    int unit = 0;
    while (value >= 999.5 && unit < 3)  // what "%.3g" would print as 1e+03
    {
        value /= 1000;
        ++unit;
    }
    return Number("%.3g ", value) + units[unit];
}

void PrintRow(const std::string& job, const std::string& a, const std::string& b, const std::string& turns,
              const std::string& timeA, const std::string& timeB, const std::string& ratio,
              const std::string& spread, const std::string& goal)
{
    std::printf("%-*s %-*s %-*s %*s %*s %*s %*s %*s  %s\n", kJob, job.c_str(), kWay, a.c_str(), kWay, b.c_str(),
                kTurns, turns.c_str(), kTime, timeA.c_str(), kTime, timeB.c_str(), kRatio, ratio.c_str(), kSpread,
                spread.c_str(), goal.c_str());
    std::fflush(stdout);
}

// "1.052", "0.0241": three decimals, or three significant digits below 0.1.
std::string Ratio(double value)
{
    return Number(value >= 0.1 ? "%.3f" : "%.3g", value);
}

}  // namespace

Table::Table(const Options& options) : options(options)
{
    PrintRow("job", "way A", "way B", "turns", "A", "B", "A / B", "lowest-highest", "goal");
}

bool Table::Wants(const std::string& job) const
{
    return job.find(options.filter) != std::string::npos;
}

void Table::Run(const Comparison& comparison)
{
    const int turns = comparison.turns > 0 ? std::min(comparison.turns, options.turns) : options.turns;
    const long iterationsA = Calibrate(comparison.a.turn, options.turnSeconds);
    const long iterationsB = Calibrate(comparison.b.turn, options.turnSeconds);
    std::vector<double> timesA, timesB, ratios;
    for (int pair = 0; pair < turns; ++pair)
    {
        double a, b;
        if (pair % 2 == 0)
        {
            a = comparison.a.turn(iterationsA);
            b = comparison.b.turn(iterationsB);
        }
        else
        {
            b = comparison.b.turn(iterationsB);
            a = comparison.a.turn(iterationsA);
        }
        timesA.push_back(a / iterationsA);
        timesB.push_back(b / iterationsB);
        ratios.push_back(timesA.back() / timesB.back());
    }
    const auto [lowest, highest] = std::minmax_element(ratios.begin(), ratios.end());
    PrintRow(comparison.job, comparison.a.name, comparison.b.name, std::to_string(turns),
             Duration(Median(timesA)), Duration(Median(timesB)), Ratio(Median(ratios)),
             Ratio(*lowest) + "-" + Ratio(*highest), comparison.goal > 0 ? Number("<= %.2f", comparison.goal) : "");
}

}  // namespace bench
