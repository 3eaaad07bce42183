#include "rename/Segment.h"

#include <algorithm>
#include <limits>

Segment Segment::MakeFiller()
{
    Segment segment;
    segment.keepValue = true;
    return segment;
}

Segment Segment::MakeNumber()
{
    Segment segment;
    segment.kind = SegmentKind::Number;
    return segment;
}

Segment Segment::MakeWild(bool extension)
{
    Segment segment;
    segment.kind = SegmentKind::Wild;
    segment.extensionWild = extension;
    return segment;
}

void Segment::Change(const NumberChange& change)
{
    clear = change.clear;
    renumber = change.renumber;
    if (renumber)
        start = change.start;
    zerosMode = change.zerosMode;
    digits = change.digits;
}

void Segment::Change(const WildChange& change)
{
    caseMode = change.caseMode;
    truncate = change.truncate;
    maxLength = static_cast<int32_t>(std::clamp<int64_t>(change.maxLength, 0, std::numeric_limits<int32_t>::max()));
}
