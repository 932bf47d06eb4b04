// The main window procedure: the command protocol, the tick that drives the
// view 25 times a second, the paint coupling, fade-in and window dragging.
#include "win/app/main_window.h"

#include <windowsx.h>

#include <algorithm>

#include <cstdio>
#include <cwchar>

#include "engine/catalogue/data_source.h"
#include "engine/model/geo.h"
#include "engine/catalogue/loader.h"
#include "engine/model/records.h"
#include "engine/catalogue/real_record.h"
#include "engine/catalogue/update_rules.h"
#include "engine/controls/control_panel.h"
#include "engine/controls/layout.h"
#include "engine/controls/panels.h"
#include "engine/controls/period.h"
#include "engine/controls/placement.h"
#include "engine/controls/replay_controls.h"
#include "engine/controls/section_controls.h"
#include "engine/model/commands.h"
#include "engine/model/settings.h"
#include "engine/pipeline/pipeline.h"
#include "engine/selection/conditions.h"
#include "engine/selection/selection.h"
#include "win/app/dialog_ids.h"
#include "win/app/dialogs.h"
#include "win/app/placement.h"
#include "win/app/shell.h"
#include "win/app/workers.h"
#include "win/mapview/d3d_view.h"
#include "win/mapview/memory_hdc.h"
#include "platform/wide_text.h"
#include "win/net/fetch.h"
#include "win/net/update.h"
#include "win/windows/section_window.h"

static_assert(IDM_REPLAY == CMD_REPLAY && IDM_SECTION == CMD_SECTION, "the menu posts the commands");

wchar_t gClassName[100];
wchar_t gStartDir[MAX_PATH];
HWND gListWindow, gList2Window, gGraphWindow;
static int sOpacity;   // layered-window opacity 0..255
static int sFramePainted = 1;   // 1 when the last requested paint has run
static int sDragCount;          // mouse moves counted while dragging the window
static UINT sTimerPeriod;   // raised minimum timer period; 0 when not raised

static int sLastMoveError;   // the D3DMove failure last shown, 0 after a success
static ULONGLONG sLastTickMs;   // when the last tick ran, for the replay's clock
static int sViewsGeneration = -1;   // the filter run the replay and the cross-section last followed

enum { kLongestReplayStepMs = 250 };   // a tick held up longer (a box, a drag) moves the replay no further

static void FatalErrorCode(const wchar_t* format, int code) {
    wchar_t text[100];
    std::swprintf(text, 100, format, code);
    FatalError(text);
}

static void StartWorkerOrExit(int worker) {
    if (StartWorker(worker, gMainWindow) != 0) FatalError(L"ERROR : _beginthreadex");
}

static void StartView() {
    int result = D3DCreate();
    if (result != D3D_CREATE_OK) {
        FatalErrorCode(L"ERROR : D3DCreate %d", result);
        return;
    }
    if (sDragCount < 1) PlaceMainWindow();
    const SettingsBlock& s = AppSettings;
    MoveWindow(gMainWindow, s.winX[0], s.winY[0], s.winWidth, s.winHeight, FALSE);
    ShowWindow(gMainWindow, SW_SHOW);
    UpdateWindow(gMainWindow);
    StartWorkerOrExit(WORKER_FRAME_CLOCK);
}

// Carries out what the control panel's buttons ask of the window.
static void CarryOut(int requests) {
    if (requests & PANEL_REQUEST_CLOSE) PostMessageW(gMainWindow, WM_CLOSE, 0, 0);
    if (requests & PANEL_REQUEST_START_UPDATE) PostMessageW(gMainWindow, WM_COMMAND, CMD_START_UPDATE, 0);
    if (requests & PANEL_REQUEST_PERIOD_DIALOG) RunDialog(IDD_PERIOD);
}

// The control panel's part of the tick: hover and hold, the bottom strip,
// and the change check that re-filters the catalogue.
static void RunControlPanel() {
    CarryOut(PanelsHoverTick(gMouseX, gMouseY, GetKeyState(VK_LBUTTON) < 0));
    if (ChangeCheck() != 0) RunConditionChange();
}

static void Tick() {
    TickHandled();
    // A box's modal loop dispatches ticks too: never run one inside another,
    // and never after shutdown released the catalogue.
    if (MessageBoxOpen() || !gpEQ) return;
    TrackCursor();
    int anyActive = gMainActive || gListActive || gGraphActive;
    sOpacity = FadeStep(sOpacity, anyActive);
    if (anyActive) RunControlPanel();
    SetLayeredWindowAttributes(gMainWindow, 0, BYTE(sOpacity & 0xFF), LWA_ALPHA);

    PanelsPick(gMouseX, gMouseY);
    // After a filter run the replay and the cross-section follow the new matches.
    if (sViewsGeneration != DataGeneration()) {
        sViewsGeneration = DataGeneration();
        ReplayAfterFilter();
        SectionAfterFilter();
    }
    const ULONGLONG now = GetTickCount64();
    AdvanceReplay(double(std::min<ULONGLONG>(now - sLastTickMs, kLongestReplayStepMs)) / 1000);
    sLastTickMs = now;

    int result = UpdateMemoryHDC();
    if (result != UPDATE_HDC_OK) FatalErrorCode(L"ERROR : UpdateMemoryHDC %d", result);
    UploadPanelTextures();
    result = D3DMove();
    // Not fatal: shown once per kind of failure, not on every tick.
    if (result != D3D_MOVE_OK && result != sLastMoveError) {
        wchar_t text[100];
        std::swprintf(text, 100, L"ERROR : D3DMove %d", result);
        ShowErrorBox(gMainWindow, text);
    }
    sLastMoveError = result;
    PostMessageW(gMainWindow, WM_COMMAND, CMD_FRAME_DONE, 0);
}

static void FrameDone() {
    if (sFramePainted == 1) {
        sFramePainted = 0;
        InvalidateRect(gMainWindow, nullptr, FALSE);
    }
    if (gListWindow) PostMessageW(gListWindow, WM_COMMAND, CMD_LIST_REFRESH, 0);
    if (gList2Window) PostMessageW(gList2Window, WM_COMMAND, CMD_LIST2_REFRESH, 0);
    if (gGraphWindow) PostMessageW(gGraphWindow, WM_COMMAND, CMD_GRAPH_REFRESH, 0);
    PostSectionRefresh();
}

// 再生 and R: the replay starts, or ends and the map shows the newest
// earthquakes again. A line being drawn is given up.
static void ToggleReplay() {
    CancelSectionPick();
    if (CurrentReplayState() == REPLAY_OFF)
        StartReplay();
    else
        StopReplay();
}

// 断面図: the next press on the map starts the line (the replay ends first).
static void AskForSectionLine() {
    StopReplay();
    BeginSectionPick();
}

// Esc ends what the map is busy with (the replay, a line wanted); with
// nothing to end it closes the program, as always.
static bool EndMapMode() {
    if (CurrentReplayState() != REPLAY_OFF) {
        StopReplay();
        return true;
    }
    if (SectionPickState() != SECTION_PICK_OFF) {
        if (GetCapture() == gMainWindow) ReleaseCapture();   // no capture: nothing to release
        CancelSectionPick();
        return true;
    }
    return false;
}

static void SectionLineDone(int x, int y) {
    if (GetCapture() == gMainWindow) ReleaseCapture();   // no capture: nothing to release
    if (SectionRelease(x, y) == SECTION_RELEASE_SHOWN && ShowSectionWindow() != 0)
        ShowErrorBox(gMainWindow, L"ERROR : ShowSectionWindow");
}

static void Paint() {
    ValidateRect(gMainWindow, nullptr);
    int result = D3DRender();
    if (result == D3D_RENDER_CLEAR_FAILED || result == D3D_RENDER_BEGIN_FAILED || result == D3D_RENDER_END_FAILED)
        FatalError(L"ERROR : D3D Render");
    sFramePainted = 1;
}

static void Exit() {
    if (MessageBoxOpen()) {
        ExitWhenBoxesClose();
        return;
    }
    if (ShutdownApp() != 0) return;   // a worker still runs: CMD_EXIT comes again
    DestroyWindow(gMainWindow);
    CoUninitialize();
}

// New yearly files are in place (or the whole record in place of the
// sample): the catalogue is loaded again and every remembered record index
// starts afresh (ReloadCatalogue).
static void UpdateDone() {
    SetFetchRunning(false);
    gUpdateStatus = UPDATE_STATUS_DONE;
    if (ReloadCatalogue() != EQSET_OK) FatalError(L"ERROR : EQSet");
    SetMainTitle(nullptr);
}

static void UpdateFailed(int code) {
    SetFetchRunning(false);
    gUpdateStatus = code;
    SetMainTitle(nullptr);
}

static void UpdateProgress(int stage) {
    gUpdateStatus = stage;
    if (stage != UPDATE_STATUS_FETCHING) return;
    const FeedProgress progress = FetchProgress();
    SetFetchStatusText(FetchStatusText(progress));
    SetMainTitle(ToWide(FetchTitleText(progress).c_str()).c_str());
}

static void StartFetchOrExit(int kind, const FeedOptions& options) {
    if (StartFetch(gMainWindow, kind, options) == UPDATE_START_FAILED) FatalError(L"ERROR : _beginthreadex");
}

// The whole national record in place of the sample: offered, resumed or
// cancelled here, whenever the update button is pressed.
static void AskAboutRealRecord() {
    if (FetchRunning()) {
        if (AskYesNo(L"実データの取得を中止しますか？\n\n取得済みの分は残り、次に「更新」を押すと続きから再開します。"))
            CancelFetch();
        return;
    }
    const bool resume = FetchPending(DataFolder());
    if (!AskYesNo(resume ? L"中断した実データの取得を再開しますか？\n\n"
                           L"取得と確認が済むまで、いまのデータをそのまま使えます。"
                         : L"表示しているのは生成したサンプルで、実際の地震ではありません。\n\n"
                           L"気象庁 震度データベースから1970年以降の記録を取得して置き換えますか？\n"
                           L"・問い合わせは1回ずつ間隔をあけて行い、全体で数十分かかります\n"
                           L"・進み具合は「更新」の左に出ます。もう一度押すと中止できます\n"
                           L"・中止や終了のあとも、続きから再開できます\n"
                           L"・取得と確認が済むまで、サンプルはそのまま使えます"))
        return;
    SetFetchRunning(true);
    StartFetchOrExit(FETCH_REAL_RECORD, RealRecordFeedOptions(DataFolder(), CurrentDataSource()));
}

// The update button: the data server's newest yearly file, or the newest
// days from the search service.
static void StartDataUpdate() {
    if (RealRecordOffered()) {
        AskAboutRealRecord();
        return;
    }
    if (CurrentDataSource().kind == SOURCE_SEARCH) {
        const FeedDay newest = {gDataLast.year, gDataLast.month, gDataLast.day};
        StartFetchOrExit(FETCH_UPDATE, UpdateFeedOptions(DataFolder(), CurrentDataSource(), newest));
        return;
    }
    if (StartUpdate(gMainWindow, AppSettings.lastFullYear + 1, gAppTitle, gStartDir) == UPDATE_START_FAILED)
        FatalError(L"ERROR : _beginthreadex");
}

static void OnCommand(int command, int code) {
    switch (command) {
    case CMD_EXIT:
        // code 1: the Esc accelerator; the menu's 終了 and a close request always end the program
        if (code != 1 || !EndMapMode()) Exit();
        break;
    case CMD_REPLAY: ToggleReplay(); break;
    case CMD_SECTION: AskForSectionLine(); break;
    case CMD_ABOUT: RunDialog(IDD_ABOUT); break;
    case CMD_SETTINGS: RunDialog(IDD_SETTINGS); break;
    case CMD_START_VIEW: StartView(); break;
    case CMD_FRAME_DONE: FrameDone(); break;
    case CMD_RECREATE_VIEW: {
        const int result = D3DCreate();
        if (result != D3D_CREATE_OK) FatalErrorCode(L"ERROR : D3DCreate %d", result);
        break;
    }
    case CMD_TICK: Tick(); break;
    case CMD_START_IDLE: StartWorkerOrExit(WORKER_IDLE); break;
    case CMD_START_UPDATE: StartDataUpdate(); break;
    case CMD_UPDATE_FAILED: UpdateFailed(code); break;
    case CMD_UPDATE_PROGRESS: UpdateProgress(code); break;
    case CMD_UPDATE_DONE: UpdateDone(); break;
    case CMD_DEVICE_RESET_FAILED: FatalErrorCode(L"ERROR : D3DDEVICERESET %d", code); break;
    default: break;
    }
}

static void OnCreate() {
    TIMECAPS caps;
    if (timeGetDevCaps(&caps, sizeof caps) != MMSYSERR_NOERROR) {
        ShowErrorBox(nullptr, L"ERROR : timeGetDevCaps");
        return;
    }
    if (timeBeginPeriod(caps.wPeriodMin) != TIMERR_NOERROR)
        ShowErrorBox(nullptr, L"ERROR : timeBeginPeriod");
    else
        sTimerPeriod = caps.wPeriodMin;
}

void RestoreTimerPeriod() {
    if (sTimerPeriod) timeEndPeriod(sTimerPeriod);
    sTimerPeriod = 0;
}

static void OnMouseMove(HWND window) {
    if (GetForegroundWindow() == window) gMainActive = 1;
    if (sDragCount >= 2) PanelsCancelPress();
    if (!gMainActive) {
        PanelButtonUp();
        return;
    }
    // Only a press outside every control drags the window.
    const ControlPanelState& p = gControlPanel;
    if (!p.buttonDown || p.hoverControl || p.startArrow || p.endArrow) return;
    sDragCount++;
    // The second move starts the system's own move loop: SC_MOVE + HTCAPTION.
    if (sDragCount >= 2) PostMessageW(window, WM_SYSCOMMAND, 0xF012, 0);
}

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: OnCreate(); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    case WM_SIZE:
        if (wParam == SIZE_RESTORED) {
            RECT r;
            // Without its rectangle the window keeps the size it had.
            if (GetWindowRect(window, &r)) StoreMainSize(r.right - r.left, r.bottom - r.top);
        }
        return 0;
    case WM_ACTIVATE:
        switch (LOWORD(wParam)) {
        case WA_INACTIVE:
            gMainActive = 0;
            PanelButtonUp();
            break;
        case WA_ACTIVE:
            if (GetForegroundWindow() == window) gMainActive = 1;
            break;
        default: gMainActive = 1; break;   // WA_CLICKACTIVE
        }
        return 0;
    case WM_PAINT: Paint(); return 0;
    case WM_CLOSE: PostMessageW(window, WM_COMMAND, CMD_EXIT, 0); return 0;
    case WM_QUERYENDSESSION: return TRUE;   // nothing stops the session from ending
    case WM_ENDSESSION:
        // The process ends right after this: release and save now, without
        // waiting for CMD_EXIT to come round (ShutdownApp sleeps while a
        // worker winds down and gives up waiting after a few retries).
        if (wParam) {
            for (int pass = 0; pass < 10 && ShutdownApp() != 0; pass++) {
            }
        }
        return 0;
    case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_MOUSEMOVE:
        if (SectionPickState() == SECTION_PICK_DRAGGING) {
            SectionDrag(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        }
        OnMouseMove(window);
        return 0;
    case WM_LBUTTONDOWN:
        // The press that starts a cross-section's line does not drag the window.
        if (SectionPress(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))) {
            SetCapture(window);   // returns the previous capture, not a failure
            gMainActive = 1;
            return 0;
        }
        PanelsPress(gMainActive, gMouseY);
        gMainActive = 1;
        return 0;
    case WM_LBUTTONUP: {
        if (SectionPickState() == SECTION_PICK_DRAGGING) {
            SectionLineDone(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        }
        if (gMainActive) sDragCount = 0;
        CarryOut(PanelsRelease(gMainActive));
        return 0;
    }
    case WM_RBUTTONDOWN: ShowPopupMenu(); return 0;
    case WM_MOUSEWHEEL:
        // Over the map the wheel sets the replay's speed; over the panel it does what it always does.
        if (CurrentReplayState() != REPLAY_OFF && gMouseX < kMapPixels && gMouseY < kMapPixels)
            ChangeReplaySpeed(GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? 1 : -1);
        else
            PanelWheel(GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
    case WM_KEYDOWN:
        if (wParam != VK_SPACE || CurrentReplayState() == REPLAY_OFF) return DefWindowProcW(window, message, wParam, lParam);
        ToggleReplayPause();
        return 0;
    case WM_CHAR:
        if (CurrentReplayState() == REPLAY_OFF || (wParam != '+' && wParam != '=' && wParam != '-'))
            return DefWindowProcW(window, message, wParam, lParam);
        ChangeReplaySpeed(wParam == '-' ? -1 : 1);
        return 0;
    case WM_SETCURSOR:
        // A cross over the map while a section's line is wanted.
        if (SectionPickState() != SECTION_PICK_OFF && LOWORD(lParam) == HTCLIENT && gMouseX < kMapPixels &&
            gMouseY < kMapPixels) {
            if (HCURSOR cross = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_CROSS))) {
                SetCursor(cross);   // returns the previous cursor, not a failure
                return TRUE;
            }
        }
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_MOVING: {
        RECT* proposed = reinterpret_cast<RECT*>(lParam);
        ScreenRect r = {proposed->left, proposed->top, proposed->right, proposed->bottom};
        KeepInsideWorkArea(&r, DesktopWorkArea());
        *proposed = RECT{r.left, r.top, r.right, r.bottom};
        return 0;
    }
    case WM_POWERBROADCAST: return 1;
    case WM_EXITSIZEMOVE:
        sDragCount = 0;
        PanelsForgetHover();
        return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}
