#include "rename/Segment.h"

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
