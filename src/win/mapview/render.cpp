// The frame of the map view: D3DMove copies the engine's vertex arrays
// (markers, link lines, the selected marker, the alert boxes, the hover
// panel and the pointer lines) into the dynamic buffers; D3DRender draws
// every resource in a fixed order of blending and presents, and turns a lost
// device into a reset and a re-creation.
#include "win/mapview/d3d_scene.h"

#include <cstring>

#include "engine/analysis/alert.h"
#include "engine/analysis/region_summary.h"
#include "engine/controls/replay_controls.h"
#include "engine/picture/replay_picture.h"
#include "engine/picture/section_overlay.h"
#include "engine/model/commands.h"
#include "engine/model/records.h"
#include "engine/model/settings.h"
#include "engine/pipeline/pipeline.h"
#include "engine/selection/conditions.h"
#include "win/app/shell.h"
#include "win/mapview/d3d_view.h"

// Rebuilt only on the tick after the data changed; the rest of the frame
// update is a few small arrays.
static TexturedScreenVertex sMarkers[kMarkerVertices];
static ColoredScreenVertex sLinkLines[kLinkVertices];
static int sReplayQuads;   // the replay's marker slots in use

// Locks the whole buffer for discard and only then lets `build` fill
// `vertices` (a build may step an animation), then copies them in.
// 0 on success, 1 when the buffer cannot be locked.
template <class Vertex, int Count, class Build>
static int Rewrite(IDirect3DVertexBuffer9* buffer, Vertex (&vertices)[Count], Build build) {
    void* target;
    if (FAILED(buffer->Lock(0, sizeof vertices, &target, D3DLOCK_DISCARD))) return 1;
    build(vertices);
    std::memcpy(target, vertices, sizeof vertices);
    return FAILED(buffer->Unlock()) ? 1 : 0;
}

// The device exists with all its objects (not between a reset and the
// re-creation) and can draw now.
static int Drawable() {
    return gScene.device && gScene.ready && gScene.device->TestCooperativeLevel() == D3D_OK;
}

int D3DMove() {
    if (!Drawable()) return D3D_MOVE_OK;
    if (!gpEQ) return D3D_MOVE_NO_CATALOGUE;
    int failed = 0;
    if (CurrentReplayState() != REPLAY_OFF) {
        // The replay's markers alone (DrawScene leaves out the selected
        // earthquake and the link lines); the map's own markers are written
        // again when it ends.
        gScene.markersGeneration = -1;
        failed |= Rewrite(gScene.markerQuads, sMarkers, [](TexturedScreenVertex* v) { sReplayQuads = BuildReplayQuads(v); });
    } else {
        // Markers and link lines only after a condition change (or a create):
        // they are rebuilt until a rewrite of both has succeeded.
        const int generation = DataGeneration();
        if (gScene.markersGeneration != generation) {
            const int lost = Rewrite(gScene.markerQuads, sMarkers, BuildMarkerQuads) |
                             Rewrite(gScene.linkLines, sLinkLines, BuildLinkLines);
            if (!lost) gScene.markersGeneration = generation;
            failed |= lost;
        }
        TexturedScreenVertex selected[4];
        failed |= Rewrite(gScene.selectedQuad, selected, BuildSelectedQuad);
        ColoredScreenVertex leader[kLeaderLineVertices];
        failed |= Rewrite(gScene.leaderLines, leader, BuildLeaderLines);
    }
    ColoredScreenVertex section[kSectionOverlayVertices];
    failed |= Rewrite(gScene.sectionLines, section, BuildSectionOverlay);

    TexturedScreenVertex hover[4];
    const int hoverLost = Rewrite(gScene.quads[QUAD_HOVER], hover,
                                  [](TexturedScreenVertex* v) { BuildHoverQuad(gMouseX, gMouseY, v); });
    ColoredScreenVertex tooltip[kTooltipFrameVertices];
    failed |= Rewrite(gScene.tooltipFrame, tooltip,
                      [](ColoredScreenVertex* v) { BuildTooltipFrame(gMouseX, gMouseY, v); });
    ColoredScreenVertex region[kRegionPanelFrameVertices];
    failed |= Rewrite(gScene.regionFrame, region, [](ColoredScreenVertex* v) {
        BuildRegionPanelFrame(gRegionPointX, gRegionPointY, v);
    });

    TexturedScreenVertex boxes[kAlertBoxVertices];
    failed |= Rewrite(gScene.alertBoxes, boxes, [](TexturedScreenVertex* v) { BuildAlertBoxes(AlertTable, v); });
    ColoredScreenVertex outlines[kAlertOutlineVertices];
    failed |= Rewrite(gScene.alertOutlines, outlines,
                      [](ColoredScreenVertex* v) { BuildAlertBoxOutlines(AlertTable, v); });
    return hoverLost ? D3D_MOVE_HOVER_LOCK : failed ? D3D_MOVE_BUFFER_LOCK : D3D_MOVE_OK;
}

static void SetBlending(BOOL on, DWORD destination) {
    IDirect3DDevice9* d = gScene.device;
    d->SetRenderState(D3DRS_ANTIALIASEDLINEENABLE, on);
    d->SetRenderState(D3DRS_MULTISAMPLEANTIALIAS, on);
    d->SetRenderState(D3DRS_ALPHABLENDENABLE, on);
    d->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    d->SetRenderState(D3DRS_DESTBLEND, destination);
}

static void SetDestination(DWORD destination) {
    gScene.device->SetRenderState(D3DRS_DESTBLEND, destination);
}

static void DrawTextured(IDirect3DVertexBuffer9* buffer, IDirect3DTexture9* texture,
                         UINT start = 0) {
    IDirect3DDevice9* d = gScene.device;
    d->SetTexture(0, texture);
    d->SetFVF(kTexturedFvf);
    d->SetStreamSource(0, buffer, 0, sizeof(TexturedScreenVertex));
    d->DrawPrimitive(D3DPT_TRIANGLESTRIP, start, 2);
}

static void DrawQuads(IDirect3DVertexBuffer9* buffer, IDirect3DIndexBuffer9* indices,
                      int quadCount) {
    IDirect3DDevice9* d = gScene.device;
    d->SetTexture(0, gScene.circle.texture);
    d->SetFVF(kTexturedFvf);
    d->SetStreamSource(0, buffer, 0, sizeof(TexturedScreenVertex));
    d->SetIndices(indices);
    d->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4 * quadCount, 0, 2 * quadCount);
}

static void DrawLines(IDirect3DVertexBuffer9* buffer, D3DPRIMITIVETYPE type, UINT lines,
                      UINT start = 0) {
    IDirect3DDevice9* d = gScene.device;
    d->SetTexture(0, nullptr);
    d->SetFVF(kColoredFvf);
    d->SetStreamSource(0, buffer, 0, sizeof(ColoredScreenVertex));
    d->DrawPrimitive(type, start, lines);
}

static IDirect3DTexture9* PanelTexture(int panel) { return gScene.panels[panel].texture; }

// The state and draw calls' results are not checked one by one: a call that
// fails leaves its element out of this frame only, every frame draws all of
// them again, and a lost device shows in Present's result.
static void DrawScene() {
    IDirect3DDevice9* d = gScene.device;
    // Opaque background: the map and the two fixed panels.
    SetBlending(FALSE, D3DBLEND_ONE);
    DrawTextured(gScene.quads[QUAD_MAP], gScene.mapTexture);
    DrawTextured(gScene.quads[QUAD_RECENT], PanelTexture(PANEL_RECENT));
    DrawTextured(gScene.quads[QUAD_CONTROL], PanelTexture(PANEL_CONTROL));

    // Markers add their light to the map.
    SetBlending(TRUE, D3DBLEND_ONE);
    // The replay shows its own markers alone: no selected earthquake, no link lines.
    const bool replaying = CurrentReplayState() != REPLAY_OFF;
    int markers = replaying ? sReplayQuads : AppSettings.selCount < kMarkerQuads ? AppSettings.selCount : kMarkerQuads;
    if (markers > 0) DrawQuads(gScene.markerQuads, gScene.markerIndices, markers);
    SetDestination(D3DBLEND_INVSRCALPHA);
    DrawLines(gScene.mapFrame, D3DPT_LINESTRIP, kMapFrameVertices - 1);
    if (!replaying) DrawLines(gScene.linkLines, D3DPT_LINELIST, kLinkLines);
    DrawLines(gScene.sectionLines, D3DPT_LINELIST, kSectionOverlayVertices / 2);
    if (!replaying) {
        SetDestination(D3DBLEND_ONE);
        DrawQuads(gScene.selectedQuad, gScene.selectedIndices, 1);
        DrawQuads(gScene.selectedQuad, gScene.selectedIndices, 1);
        SetDestination(D3DBLEND_INVSRCALPHA);
        DrawLines(gScene.leaderLines, D3DPT_LINELIST, kLeaderLineVertices / 2);
    }

    // From here on (and in every later frame) fully transparent texels are
    // not drawn at all.
    d->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    d->SetRenderState(D3DRS_ALPHAREF, 1);
    d->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
    SetDestination(D3DBLEND_ONE);
    for (int k = 0; k < kAlertBoxes; k++)
        DrawTextured(gScene.alertBoxes, PanelTexture(PANEL_HATCH), 4 * k);
    SetDestination(D3DBLEND_INVSRCALPHA);
    for (int k = 0; k < kAlertBoxes; k++) DrawLines(gScene.alertOutlines, D3DPT_LINESTRIP, 4, 5 * k);

    DrawTextured(gScene.quads[QUAD_REGION], PanelTexture(PANEL_REGION));
    DrawLines(gScene.regionFrame, D3DPT_LINESTRIP, kRegionPanelFrameVertices - 1);
    // Blending stays source-alpha over inverse-source-alpha for the rest.
    if (gMouseX >= 1 && gMouseX <= 511 && gMouseY >= 1 && gMouseY <= 511) {
        DrawTextured(gScene.quads[QUAD_HOVER], PanelTexture(PANEL_HOVER));
        DrawLines(gScene.tooltipFrame, D3DPT_LINESTRIP, kTooltipFrameVertices - 1);
    }
    DrawTextured(gScene.quads[QUAD_BOTTOM], PanelTexture(PANEL_BOTTOM));
}

static void PostToMainWindow(int command, int code) {
    PostMessageW(gMainWindow, WM_COMMAND, MAKEWPARAM(command, code), 0);
}

int D3DRender() {
    if (!gScene.device || !gScene.ready) return D3D_RENDER_OK;
    IDirect3DDevice9* d = gScene.device;
    HRESULT level = d->TestCooperativeLevel();
    if (level == D3D_OK) {
        if (FAILED(d->BeginScene())) return D3D_RENDER_BEGIN_FAILED;
        if (FAILED(d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0))) {
            d->EndScene();
            return D3D_RENDER_CLEAR_FAILED;
        }
        DrawScene();
        if (FAILED(d->EndScene())) return D3D_RENDER_END_FAILED;
    }
    HRESULT presented = d->Present(nullptr, nullptr, nullptr, nullptr);
    if (SUCCEEDED(presented)) return D3D_RENDER_OK;
    if (level == D3DERR_DEVICENOTRESET) {
        int reset = D3DRelease(D3D_RELEASE_FOR_RESET);
        if (reset == D3D_RESET_OK) {
            PostToMainWindow(CMD_RECREATE_VIEW, 0);
            return D3D_RENDER_OK;
        }
        PostToMainWindow(CMD_DEVICE_RESET_FAILED, reset);
        return D3D_RENDER_DRIVER_ERROR;
    }
    switch (presented) {
    case D3DERR_DRIVERINTERNALERROR: return D3D_RENDER_DRIVER_ERROR;
    case D3DERR_DEVICELOST: return D3D_RENDER_LOST;
    case D3DERR_INVALIDCALL: return D3D_RENDER_INVALID_CALL;
    default: return D3D_RENDER_PRESENT_FAILED;
    }
}
