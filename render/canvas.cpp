#include "render/canvas.h"

Point textOrigin(const TextPlacement& placement, Size extent) {
    const Rect& box = placement.box;
    // The two forms agree while the text fits; they truncate differently when it is wider
    // than the box, and each placement keeps the form its pixels were defined with.
    if (placement.centerVertically) {
        return {(box.left + box.right - extent.width) / 2, (box.top + box.bottom - extent.height) / 2};
    }
    return {box.left + (box.right - extent.width - box.left) / 2, box.top};
}
