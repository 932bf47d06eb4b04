#include "engine/picture/map_note_picture.h"

#include <cstdio>

#include "engine/picture/panel_picture.h"
#include "engine/controls/replay_controls.h"
#include "engine/controls/section_controls.h"

static const PanelColor kBlack = {0, 0, 0};
static const PanelColor kBox = {24, 24, 40};
static const PanelColor kFrame = {128, 128, 160};
static const PanelColor kWhite = {255, 255, 255};
static const PanelColor kYellow = {255, 255, 128};
static const PanelColor kGrey = {170, 170, 170};
static const PanelColor kBar = {96, 160, 255};

enum { kNoteWidth = 191, kLine = 18, kTextLeft = 6 };

static PanelRect Line(int k) { return PanelRect{kTextLeft, 6 + kLine * k, kNoteWidth - 4, 6 + kLine * (k + 1)}; }

static void StartNote(int width, int height, int lines, PanelPicture* out) {
    ClearPicture(out);
    AddFill(out, kBlack, PanelRect{0, 0, width, height});
    AddBox(out, kFrame, kBox, PanelRect{0, 0, kNoteWidth, 10 + kLine * lines});
}

static void ReplayNote(int width, int height, PanelPicture* out) {
    const ReplayReadout r = CurrentReplayReadout();
    StartNote(width, height, 6, out);
    char text[96];
    const char* state = r.ended ? "再生 終わり" : r.state == REPLAY_PAUSED ? "再生 一時停止" : "再生中";
    std::snprintf(text, sizeof text, "%s  %s", state, kReplaySpeeds[r.speed].label);
    AddUtf8Text(out, text, Line(0), ALIGN_LEFT, kYellow);
    std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d", r.year, r.month, r.day, r.hour, r.minute);
    AddUtf8Text(out, text, Line(1), ALIGN_LEFT, kWhite);
    std::snprintf(text, sizeof text, "%d / %d 件", r.shown, r.total);
    AddUtf8Text(out, text, Line(2), ALIGN_LEFT, kWhite);
    // The progress through the period.
    const PanelRect bar = {kTextLeft, 6 + kLine * 3 + 5, kNoteWidth - 6, 6 + kLine * 3 + 13};
    AddRectangle(out, kFrame, kBox, bar);
    const int filled = int(r.progress * (bar.right - bar.left - 2));
    if (filled > 0) AddFill(out, kBar, PanelRect{bar.left + 1, bar.top + 1, bar.left + 1 + filled, bar.bottom - 1});
    AddUtf8Text(out, "Space 停止/再開", Line(4), ALIGN_LEFT, kGrey);
    AddUtf8Text(out, "+/- 速度  Esc 終わる", Line(5), ALIGN_LEFT, kGrey);
}

static void LineNote(int width, int height, PanelPicture* out) {
    StartNote(width, height, 3, out);
    AddUtf8Text(out, "断面図", Line(0), ALIGN_LEFT, kYellow);
    AddUtf8Text(out, "地図の上で線を引く", Line(1), ALIGN_LEFT, kWhite);
    AddUtf8Text(out, "Esc 取り消す", Line(2), ALIGN_LEFT, kGrey);
}

int BuildMapNotePicture(int width, int height, PanelPicture* out) {
    if (CurrentReplayState() != REPLAY_OFF) {
        ReplayNote(width, height, out);
        return 1;
    }
    if (SectionPickState() != SECTION_PICK_OFF) {
        LineNote(width, height, out);
        return 1;
    }
    return 0;
}
