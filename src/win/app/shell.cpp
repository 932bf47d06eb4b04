#include "win/app/shell.h"

#include "engine/rules/commands.h"

HINSTANCE gInstance;
HWND gMainWindow;
wchar_t gAppTitle[100];
int gMouseX, gMouseY;
int gMainActive;
int gListActive;
int gGraphActive;
int gUpdateStatus;

static int sOpenBoxes;       // message boxes open right now
static int sExitDeferred;    // an exit arrived while a box was open
static int sFatalShown;

void ShowErrorBox(HWND owner, const wchar_t* text) {
    sOpenBoxes++;
    MessageBoxW(owner, text, gAppTitle, MB_ICONHAND);
    sOpenBoxes--;
    if (sOpenBoxes == 0 && sExitDeferred) {
        sExitDeferred = 0;
        PostMessageW(gMainWindow, WM_COMMAND, CMD_EXIT, 0);
    }
}

void FatalError(const wchar_t* text) {
    if (!sFatalShown) {
        sFatalShown = 1;
        ShowErrorBox(gMainWindow, text);
    }
    PostMessageW(gMainWindow, WM_COMMAND, CMD_EXIT, 0);
}

int MessageBoxOpen() { return sOpenBoxes > 0; }

void ExitWhenBoxesClose() { sExitDeferred = 1; }
