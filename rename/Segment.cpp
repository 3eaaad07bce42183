#include "rename/Segment.h"

#include "rename/PatternAnalysis.h"

Segment Segment::MakeLiteral(std::wstring text)
{
    Segment segment;
    segment.commonText = text;
    segment.newText = std::move(text);
    segment.invalidText = IsInvalidReplacement(segment.newText);
    return segment;
}

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
