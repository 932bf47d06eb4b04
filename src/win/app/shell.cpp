#include "win/app/shell.h"

#include <string>

#include "engine/catalogue/loader.h"
#include "engine/model/commands.h"

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

static int ShowBox(HWND owner, const wchar_t* text, UINT style) {
    sOpenBoxes++;
    const int answer = MessageBoxW(owner, text, gAppTitle, style);
    sOpenBoxes--;
    if (sOpenBoxes == 0 && sExitDeferred) {
        sExitDeferred = 0;
        PostMessageW(gMainWindow, WM_COMMAND, CMD_EXIT, 0);
    }
    return answer;
}

void ShowErrorBox(HWND owner, const wchar_t* text) { ShowBox(owner, text, MB_ICONHAND); }

bool AskYesNo(const wchar_t* text) { return ShowBox(gMainWindow, text, MB_YESNO | MB_ICONQUESTION) == IDYES; }

void SetMainTitle(const wchar_t* detail) {
    std::wstring title = gAppTitle;
    if (DataIsSample()) title += L" [サンプルデータ]";
    if (detail && *detail) title += std::wstring(L" ― ") + detail;
    SetWindowTextW(gMainWindow, title.c_str());
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
