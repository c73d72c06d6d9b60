#pragma once

#include <QString>
#include <QtGlobal>

#include <vector>

// The arithmetic every footprint report shares.
class BenchFigures
{
public:
    static double mb(qint64 kb) { return static_cast<double>(kb) / 1024.0; }
    // value / floor, 0 when there is no floor to hold it against.
    static double ratio(double value, double floor) { return floor > 0 ? value / floor : 0.0; }
    static double median(std::vector<double> values);
    // "met" or "MISSED" for a value held against floor × target.
    static const char* verdict(double value, double floor, double target);
    // The positive whole number after the command-line option `name` ("--runs 5"), else fallback.
    static int countOption(const QString& name, int fallback);
};
