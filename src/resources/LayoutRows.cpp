#include "resources/LayoutRows.h"

#include "resources/TextFileReader.h"

Rect readRect(TextFileReader& reader) {
    Rect rect;
    rect.left = reader.readInt();
    rect.top = reader.readInt();
    rect.right = reader.readInt();
    rect.bottom = reader.readInt();
    return rect;
}
