#include "engine/controls/placement.h"

// Moves the span [low, high) by the smallest shift that starts it at or
// after `first`, then ends it at or before `last`.
static void ShiftInside(int* low, int* high, int first, int last) {
    if (*low < first) {
        *high += first - *low;
        *low = first;
    }
    if (*high > last) {
        *low -= *high - last;
        *high = last;
    }
}

void KeepInsideWorkArea(ScreenRect* rect, const WorkArea& area) {
    ShiftInside(&rect->left, &rect->right, area.left, area.right);
    ShiftInside(&rect->top, &rect->bottom, area.top, area.bottom);
}

int PlaceInWorkArea(int normalLeft, int normalTop, int width, int height, const WorkArea& area,
                    int* x, int* y) {
    int placedX = normalLeft + area.left;
    int placedY = normalTop + area.top;
    int newX = placedX, newY = placedY;
    if (newX < area.left) newX = area.left;
    if (newX + width > area.right) newX = area.right - width;
    if (newY < area.top) newY = area.top;
    if (newY + height > area.bottom) newY = area.bottom - height;
    *x = newX;
    *y = newY;
    return newX != placedX || newY != placedY;
}

void CursorInWindow(int cursorX, int cursorY, int normalLeft, int normalTop, const WorkArea& area,
                    int* windowX, int* windowY) {
    *windowX = cursorX - (normalLeft + area.left);
    *windowY = cursorY - (normalTop + area.top);
}

int FadeStep(int opacity, int anyWindowActive) {
    if (anyWindowActive) {
        opacity += kFadeStep;
        return opacity > kFullOpacity ? kFullOpacity : opacity;
    }
    opacity -= kFadeStep;
    return opacity < kFullOpacity ? kFullOpacity : opacity;
}
