#include "trig.h"

#include <cmath>

namespace framegen {
namespace {

constexpr double radiansPerDegree = 3.14159265358979323846 / 180.0;

// Taylor series on |x| <= pi/4, where the x^17 term is already below 1e-16.
double sinSeries(double x)
{
    const double x2 = x * x;
    double term = x;
    double sum = x;
    for (int n = 2; n <= 16; n += 2) {
        term = -term * x2 / (n * (n + 1));
        sum += term;
    }
    return sum;
}

double cosSeries(double x)
{
    const double x2 = x * x;
    double term = 1.0;
    double sum = 1.0;
    for (int n = 1; n <= 15; n += 2) {
        term = -term * x2 / (n * (n + 1));
        sum += term;
    }
    return sum;
}

// Splits an angle into a quarter turn count (0..3) and a rest in [-45, 45).
void reduce(double degrees, int& quarter, double& restRadians)
{
    const double turns = std::floor((degrees + 45.0) / 90.0);
    const double rest = degrees - 90.0 * turns;
    quarter = static_cast<int>(turns - 4.0 * std::floor(turns / 4.0));
    restRadians = rest * radiansPerDegree;
}

}  // namespace

double sinDeg(double degrees)
{
    int quarter = 0;
    double x = 0.0;
    reduce(degrees, quarter, x);
    switch (quarter) {
    case 0: return sinSeries(x);
    case 1: return cosSeries(x);
    case 2: return -sinSeries(x);
    default: return -cosSeries(x);
    }
}

double cosDeg(double degrees)
{
    return sinDeg(degrees + 90.0);
}

Vec rotated(Vec v, double degrees)
{
    const double c = cosDeg(degrees);
    const double s = sinDeg(degrees);
    return {v.x * c - v.y * s, v.x * s + v.y * c};
}

}  // namespace framegen
