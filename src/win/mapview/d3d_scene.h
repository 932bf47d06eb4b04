// The device objects of the map view, shared by the three parts of its
// Direct3D backend: scene.cpp creates and releases them, render.cpp writes
// the dynamic buffers and draws the frame, upload.cpp copies the panel
// pictures into their textures. Win32 only.
#pragma once

#include <d3d9.h>

#include <vector>

#include "engine/picture/markers.h"
#include "win/mapview/memory_hdc.h"

// A texture that the processor fills through a system-memory surface.
struct StagedTexture {
    IDirect3DTexture9* texture;
    IDirect3DSurface9* level;     // level 0 of texture
    IDirect3DSurface9* staging;   // system-memory copy source
    int width, height;            // of the staging surface
    // The 24-bit picture the texture shows now; empty while it shows none
    // (a new texture), so an unchanged panel is not uploaded again.
    std::vector<unsigned char> shown;
};

struct MapScene {
    IDirect3D9* d3d;
    IDirect3DDevice9* device;
    D3DPRESENT_PARAMETERS present;      // kept for the device's resets
    IDirect3DTexture9* mapTexture;
    StagedTexture panels[PANEL_COUNT];  // indexed by PanelId
    StagedTexture circle;
    IDirect3DVertexBuffer9* markerQuads;
    IDirect3DIndexBuffer9* markerIndices;
    IDirect3DVertexBuffer9* selectedQuad;
    IDirect3DIndexBuffer9* selectedIndices;
    IDirect3DVertexBuffer9* quads[QUAD_COUNT];   // indexed by MapViewQuad
    IDirect3DVertexBuffer9* leaderLines;
    IDirect3DVertexBuffer9* mapFrame;
    IDirect3DVertexBuffer9* tooltipFrame;
    IDirect3DVertexBuffer9* regionFrame;
    IDirect3DVertexBuffer9* alertBoxes;
    IDirect3DVertexBuffer9* alertOutlines;
    IDirect3DVertexBuffer9* linkLines;
    IDirect3DVertexBuffer9* sectionLines;   // a cross-section's line and strip
    int ready;   // 1 from a complete D3DCreate until the next D3DRelease
    // The pipeline's data generation the markers and link lines were built
    // for; -1 after a create (the new buffers are empty).
    int markersGeneration;
};

extern MapScene gScene;

const DWORD kTexturedFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;
const DWORD kColoredFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE;

// Pure pixel conversions from the 24-bit GDI pictures (top-down rows of
// blue, green, red, packed) into 32-bit surfaces of `pitch` bytes per row
// (blue, green, red, alpha). Only width x height pixels are written.
//
// Panel pictures: pure black becomes alpha 0, every other colour alpha 255.
void ConvertPanelPixels(const unsigned char* bgr, int srcWidth, int width, int height,
                        unsigned char* dst, int pitch);
// The marker sprite: alpha is the mean of the three channels.
void ConvertSpritePixels(const unsigned char* bgr, int width, int height,
                         unsigned char* dst, int pitch);
