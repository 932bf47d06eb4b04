// The map view's device objects: the Direct3D device, the map and panel
// textures with their staging surfaces, the marker sprite, and every vertex
// and index buffer with its initial contents; the fixed render state; and
// their release, either for a device reset or for good.
#include "win/mapview/d3d_scene.h"

#include <cstring>
#include <string>

#include "engine/analysis/region_summary.h"
#include "engine/catalogue/loader.h"
#include "engine/picture/bmp_image.h"
#include "engine/picture/section_overlay.h"
#include "win/app/shell.h"
#include "win/mapview/d3d_view.h"

MapScene gScene;

template <class T>
static void ReleaseObject(T*& object) {
    if (object) object->Release();
    object = nullptr;
}

static int CreateDevice() {
    if (!gScene.d3d) gScene.d3d = Direct3DCreate9(D3D_SDK_VERSION);
    if (!gScene.d3d) return D3D_CREATE_NO_DIRECT3D;
    if (gScene.device) return 0;   // re-created after a reset: keep the device

    // Windowed, back buffer of the client size in the display's format,
    // no depth buffer: every vertex is pre-transformed and drawn in order.
    D3DPRESENT_PARAMETERS& present = gScene.present;
    std::memset(&present, 0, sizeof present);
    present.Windowed = TRUE;
    present.SwapEffect = D3DSWAPEFFECT_DISCARD;
    present.BackBufferFormat = D3DFMT_UNKNOWN;
    present.hDeviceWindow = gMainWindow;
    present.PresentationInterval = D3DPRESENT_INTERVAL_DEFAULT;
    HRESULT hr = gScene.d3d->CreateDevice(
        D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, gMainWindow,
        D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_PUREDEVICE, &present, &gScene.device);
    return FAILED(hr) ? D3D_CREATE_NO_DEVICE : 0;
}

static int CheckCapabilities() {
    D3DCAPS9 caps;
    if (FAILED(gScene.device->GetDeviceCaps(&caps))) return D3D_CREATE_NO_DYNAMIC_TEXTURES;
    return (caps.Caps2 & D3DCAPS2_DYNAMICTEXTURES) ? 0 : D3D_CREATE_NO_DYNAMIC_TEXTURES;
}

// The map image goes into a managed texture of its own size; the reader
// delivers top-down rows of blue, green, red, 255, which is X8R8G8B8.
static int LoadMapTexture() {
    std::string path = std::string(DataFolder()) + "/MAP01_512.bmp";
    BmpImage image;
    if (ReadBmp(path.c_str(), &image) != BMP_OK) return D3D_CREATE_NO_TEXTURE;
    int result = D3D_CREATE_NO_TEXTURE;
    HRESULT hr = gScene.device->CreateTexture(image.width, image.height, 1, 0, D3DFMT_X8R8G8B8,
                                              D3DPOOL_MANAGED, &gScene.mapTexture, nullptr);
    D3DLOCKED_RECT locked;
    if (SUCCEEDED(hr) && SUCCEEDED(gScene.mapTexture->LockRect(0, &locked, nullptr, 0))) {
        size_t rowBytes = size_t(image.width) * 4;
        for (int y = 0; y < image.height; y++)
            std::memcpy(static_cast<unsigned char*>(locked.pBits) + size_t(y) * locked.Pitch,
                        image.pixels + y * rowBytes, rowBytes);
        if (SUCCEEDED(gScene.mapTexture->UnlockRect(0))) result = 0;
    }
    FreeBmp(&image);
    return result;
}

static int CreateStagedTexture(StagedTexture* t, int width, int height) {
    if (FAILED(gScene.device->CreateTexture(width, height, 1, D3DUSAGE_DYNAMIC, D3DFMT_A8R8G8B8,
                                            D3DPOOL_DEFAULT, &t->texture, nullptr)))
        return D3D_CREATE_NO_TEXTURE;
    if (FAILED(t->texture->GetSurfaceLevel(0, &t->level))) return D3D_CREATE_NO_LEVEL;
    if (FAILED(gScene.device->CreateOffscreenPlainSurface(
            width, height, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &t->staging, nullptr)))
        return D3D_CREATE_NO_STAGING;
    D3DSURFACE_DESC desc;
    if (FAILED(t->staging->GetDesc(&desc))) return D3D_CREATE_NO_STAGING;
    t->width = int(desc.Width);
    t->height = int(desc.Height);
    return 0;
}

static int CreateTextures() {
    for (int p = 0; p < PANEL_COUNT; p++) {
        int result = CreateStagedTexture(&gScene.panels[p], kPanelSizes[p].width, kPanelSizes[p].height);
        if (result) return result;
    }
    return CreateStagedTexture(&gScene.circle, kCircleSize, kCircleSize);
}

// The sprite's grey rings become a white spot whose alpha falls towards
// the rim; the vertex colour tints it.
static int FillCircleTexture() {
    StagedTexture& circle = gScene.circle;
    D3DLOCKED_RECT locked;
    if (FAILED(circle.staging->LockRect(&locked, nullptr, 0))) return D3D_CREATE_SPRITE_LOCK;
    ConvertSpritePixels(gCircleSpritePixels, kCircleSize, kCircleSize,
                        static_cast<unsigned char*>(locked.pBits), locked.Pitch);
    if (FAILED(circle.staging->UnlockRect())) return D3D_CREATE_SPRITE_LOCK;
    if (FAILED(gScene.device->UpdateSurface(circle.staging, nullptr, circle.level, nullptr)))
        return D3D_CREATE_SPRITE_LOCK;
    return 0;
}

static int WriteVertices(IDirect3DVertexBuffer9* buffer, const void* vertices, unsigned bytes) {
    void* target;
    if (FAILED(buffer->Lock(0, bytes, &target, D3DLOCK_DISCARD))) return 1;
    std::memcpy(target, vertices, bytes);
    return FAILED(buffer->Unlock()) ? 1 : 0;
}

static int CreateVertexBuffer(IDirect3DVertexBuffer9** buffer, unsigned bytes, DWORD fvf) {
    return FAILED(gScene.device->CreateVertexBuffer(bytes, D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY,
                                                    fvf, D3DPOOL_DEFAULT, buffer, nullptr));
}

// A fixed or line buffer: created (10) and filled (11).
static int CreateFilled(IDirect3DVertexBuffer9** buffer, const void* vertices, unsigned bytes,
                        DWORD fvf) {
    if (CreateVertexBuffer(buffer, bytes, fvf)) return D3D_CREATE_NO_BUFFER;
    return WriteVertices(*buffer, vertices, bytes) ? D3D_CREATE_BUFFER_LOCK : 0;
}

// A marker buffer with its index buffer. A failed lock of the vertex buffer
// is passed over: the frame update rewrites it anyway.
static int CreateMarkerBuffers(IDirect3DVertexBuffer9** quads, IDirect3DIndexBuffer9** indices,
                               TexturedScreenVertex* initial, int quadCount) {
    unsigned bytes = unsigned(4 * quadCount * sizeof *initial);
    if (CreateVertexBuffer(quads, bytes, kTexturedFvf)) return D3D_CREATE_NO_DYNAMIC_BUFFER;
    InitMarkerQuads(initial, quadCount);
    WriteVertices(*quads, initial, bytes);

    unsigned indexBytes = unsigned(6 * quadCount * sizeof(uint16_t));
    if (FAILED(gScene.device->CreateIndexBuffer(indexBytes, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16,
                                                D3DPOOL_DEFAULT, indices, nullptr)))
        return D3D_CREATE_NO_INDEX_BUFFER;
    void* target;
    if (FAILED((*indices)->Lock(0, indexBytes, &target, 0))) return D3D_CREATE_INDEX_LOCK;
    FillQuadIndices(static_cast<uint16_t*>(target), quadCount);
    return FAILED((*indices)->Unlock()) ? D3D_CREATE_INDEX_LOCK : 0;
}

static TexturedScreenVertex sInitialMarkers[kMarkerVertices];
static ColoredScreenVertex sInitialLinks[kLinkVertices];

static int CreateFixedQuad(int quad) {
    TexturedScreenVertex vertices[4];
    FillFixedQuad(quad, vertices);
    return CreateFilled(&gScene.quads[quad], vertices, sizeof vertices, kTexturedFvf);
}

static int CreateLines(IDirect3DVertexBuffer9** buffer, const ColoredScreenVertex* vertices,
                       int count) {
    return CreateFilled(buffer, vertices, unsigned(count * sizeof *vertices), kColoredFvf);
}

static int CreateBuffers() {
    int r = CreateMarkerBuffers(&gScene.markerQuads, &gScene.markerIndices, sInitialMarkers,
                                kMarkerQuads);
    if (r) return r;
    TexturedScreenVertex selected[4];
    if ((r = CreateMarkerBuffers(&gScene.selectedQuad, &gScene.selectedIndices, selected, 1)))
        return r;

    ColoredScreenVertex leader[kLeaderLineVertices], frame[kMapFrameVertices];
    ColoredScreenVertex tooltip[kTooltipFrameVertices], region[kRegionPanelFrameVertices];
    ColoredScreenVertex outlines[kAlertOutlineVertices];
    TexturedScreenVertex boxes[kAlertBoxVertices];
    InitLeaderLines(leader);
    FillMapFrame(frame);
    BuildTooltipFrame(gMouseX, gMouseY, tooltip);
    BuildRegionPanelFrame(gRegionPointX, gRegionPointY, region);
    InitAlertBoxes(boxes);
    InitTransparentVertices(outlines, kAlertOutlineVertices);
    InitTransparentVertices(sInitialLinks, kLinkVertices);

    if ((r = CreateFixedQuad(QUAD_MAP)) || (r = CreateFixedQuad(QUAD_RECENT)) ||
        (r = CreateLines(&gScene.leaderLines, leader, kLeaderLineVertices)) ||
        (r = CreateLines(&gScene.mapFrame, frame, kMapFrameVertices)) ||
        (r = CreateFixedQuad(QUAD_CONTROL)) || (r = CreateFixedQuad(QUAD_HOVER)) ||
        (r = CreateLines(&gScene.tooltipFrame, tooltip, kTooltipFrameVertices)) ||
        (r = CreateFixedQuad(QUAD_REGION)) ||
        (r = CreateLines(&gScene.regionFrame, region, kRegionPanelFrameVertices)) ||
        (r = CreateFixedQuad(QUAD_BOTTOM)) ||
        (r = CreateFilled(&gScene.alertBoxes, boxes, sizeof boxes, kTexturedFvf)) ||
        (r = CreateLines(&gScene.alertOutlines, outlines, kAlertOutlineVertices)) ||
        (r = CreateLines(&gScene.linkLines, sInitialLinks, kLinkVertices)))
        return r;
    ColoredScreenVertex section[kSectionOverlayVertices];
    InitTransparentVertices(section, kSectionOverlayVertices);
    if ((r = CreateLines(&gScene.sectionLines, section, kSectionOverlayVertices))) return r;
    return 0;
}

// The state every frame starts from; D3DRender changes only the blending
// (and, once, the alpha test) while it draws.
static void SetFixedRenderState() {
    IDirect3DDevice9* d = gScene.device;
    d->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    d->SetRenderState(D3DRS_LIGHTING, FALSE);
    d->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    d->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    // Point sampling at one texel per pixel; addressing stays at wrap,
    // which repeats the hatch pattern over the alert boxes.
    d->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
    d->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
    d->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_NONE);
    d->SetRenderState(D3DRS_ANTIALIASEDLINEENABLE, TRUE);
    d->SetRenderState(D3DRS_MULTISAMPLEANTIALIAS, TRUE);
    d->SetRenderState(D3DRS_MULTISAMPLEMASK, 0x7FFFFFFF);
    d->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    d->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    d->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
}

int D3DCreate() {
    FillDistanceTable();
    if (!gCircleSpritePixels) return D3D_CREATE_NO_SPRITE;
    int result;
    if ((result = CreateDevice()) || (result = CheckCapabilities()) ||
        (result = LoadMapTexture()) || (result = CreateTextures()) ||
        (result = FillCircleTexture()) || (result = CreateBuffers()))
        return result;
    SetFixedRenderState();
    gScene.markersGeneration = -1;
    gScene.ready = 1;
    return D3D_CREATE_OK;
}

static void ReleaseStagedTexture(StagedTexture* t) {
    t->shown.clear();
    ReleaseObject(t->staging);
    ReleaseObject(t->level);
    ReleaseObject(t->texture);
}

// Everything a reset requires to be gone (all of it lives in the default
// pool or belongs to the device); the device and the Direct3D object stay.
static void ReleaseDeviceObjects() {
    gScene.ready = 0;
    ReleaseObject(gScene.markerQuads);
    ReleaseObject(gScene.markerIndices);
    ReleaseObject(gScene.selectedQuad);
    ReleaseObject(gScene.selectedIndices);
    for (IDirect3DVertexBuffer9*& quad : gScene.quads) ReleaseObject(quad);
    ReleaseObject(gScene.leaderLines);
    ReleaseObject(gScene.mapFrame);
    ReleaseObject(gScene.tooltipFrame);
    ReleaseObject(gScene.regionFrame);
    ReleaseObject(gScene.alertBoxes);
    ReleaseObject(gScene.alertOutlines);
    ReleaseObject(gScene.linkLines);
    ReleaseObject(gScene.sectionLines);
    ReleaseObject(gScene.mapTexture);
    for (StagedTexture& panel : gScene.panels) ReleaseStagedTexture(&panel);
    ReleaseStagedTexture(&gScene.circle);
}

int D3DRelease(int mode) {
    ReleaseDeviceObjects();
    if (mode == D3D_RELEASE_ALL) {
        ReleaseObject(gScene.device);
        ReleaseObject(gScene.d3d);
        return D3D_RESET_OK;
    }
    if (!gScene.device) return D3D_RESET_OK;
    HRESULT hr = gScene.device->Reset(&gScene.present);
    if (SUCCEEDED(hr)) return D3D_RESET_OK;
    switch (hr) {
    case D3DERR_DEVICELOST: return D3D_RESET_LOST;
    case D3DERR_DRIVERINTERNALERROR: return D3D_RESET_DRIVER_ERROR;
    case D3DERR_OUTOFVIDEOMEMORY: return D3D_RESET_NO_VIDEO_MEMORY;
    case E_OUTOFMEMORY: return D3D_RESET_NO_MEMORY;
    default: return D3D_RESET_OTHER_FAILURE;   // never report a failed reset as done
    }
}
