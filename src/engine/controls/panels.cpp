#include "engine/controls/panels.h"

#include "engine/controls/bottom_panel.h"
#include "engine/controls/control_panel.h"
#include "engine/controls/map_pick.h"

int PanelsHoverTick(int x, int y, int leftButtonDown) {
    const int requests = PanelHoverTick(x, y, leftButtonDown);
    return requests | BottomPanelTick(x, y, leftButtonDown);
}

void PanelsPick(int x, int y) {
    ControlPanelPick(x, y);
    MapPick(x, y);
    BottomPanelPick(x, y);
}

void PanelsPress(int windowWasActive, int pointerY) {
    ControlPanelPress(windowWasActive);
    BottomPanelPress(pointerY);
}

int PanelsRelease(int windowActive) {
    int requests = ControlPanelRelease(windowActive);
    if (windowActive) MapRelease();
    return requests | BottomPanelRelease(windowActive);
}

void PanelsCancelPress() {
    CancelPanelPress();
    CancelBottomPress();
}

void PanelsForgetHover() {
    ForgetPanelHover();
    ForgetBottomHover();
}
