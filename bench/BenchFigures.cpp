#include "BenchFigures.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>

double BenchFigures::median(std::vector<double> values)
{
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

const char* BenchFigures::verdict(double value, double floor, double target)
{
    if (floor <= 0) {
        return "no ratio (floor is 0)";
    }
    return value / floor <= target ? "met" : "MISSED";
}

int BenchFigures::countOption(const QString& name, int fallback)
{
    const QStringList arguments = QCoreApplication::arguments();
    const qsizetype at = arguments.indexOf(name);
    return at >= 0 && at + 1 < arguments.size() ? std::max(1, arguments.at(at + 1).toInt()) : fallback;
}
