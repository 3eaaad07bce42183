#pragma once

#include <functional>
#include <utility>

// Seconds from a steady clock.
double Seconds();

// Times two cases in alternating batches, so that drift in the machine's speed hits both alike,
// and keeps each one's fastest batch: under Wine the slow outliers are noise, not the code.
// Cases that take long run once per batch; rounds is the number of batch pairs.
std::pair<double, double> MeasurePair(const std::function<void()>& first, const std::function<void()>& second,
                                      int rounds = 25);
