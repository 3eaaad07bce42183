#pragma once

#include <string>
#include <vector>

// A property system of the test's own, reached through the property runtime's test entry
// points: Wine has none to list. Every file offers the same properties.
struct StandInProperty
{
    std::wstring canonicalName;
    std::wstring displayName; // empty: the description has none
    std::wstring value;
};

// Makes the properties the process-wide runtime's until the next DropPropertyRuntime.
void UseStandInProperties(std::vector<StandInProperty> properties);
// How often a description was asked for by name since the stand-ins were made.
int StandInDescriptionsAsked();
