#pragma once
// The records behind the software window system's handles, shared by its
// drawing half and its window half. Private to platform/software.

#include <map>
#include <memory>
#include <string>

#include "common/image.h"
#include "platform/software/software_window_system.h"

namespace vorn::platform {

// The handle types of window_system.h are pointers to these.
struct GdiObject {
    enum class Kind { bitmap, font, brush };
    Kind kind = Kind::bitmap;
    bool stock = false;       // owned by the system, never deleted
    raster::Image image;   // bitmap
    int fontHeight = 0;       // font: the character cell's height in pixels
    Colour brushColour = {0, 0, 0};
};

struct ContextObject {
    WindowObject* window = nullptr;  // set for a paint context: it draws on the window's screen
    GdiObject* bitmap = nullptr;     // what a memory context draws into
    GdiObject* font = nullptr;
    Colour textColour = {0, 0, 0};
    bool transparentText = false;
};

struct WindowObject {
    WindowInfo info;
    Module module = nullptr;
    void* userData = nullptr;
    raster::Image screen;
    int invalidations = 0;
    ContextObject* paintContext = nullptr;  // between beginPaint and endPaint
};

struct SoftwareWindowSystem::State {
    // A fresh memory context starts with these selected, as on Windows.
    GdiObject stockBitmap;
    GdiObject stockFont;

    std::map<GdiObject*, std::unique_ptr<GdiObject>> objects;
    std::map<ContextObject*, std::unique_ptr<ContextObject>> contexts;
    std::map<WindowObject*, std::unique_ptr<WindowObject>> windows;

    struct RegisteredClass {
        WindowProcedure procedure;
        Module module;
    };
    std::map<std::string, RegisteredClass> classes;
    int registerCalls = 0;
    int unregisterCalls = 0;

    State();

    // Look-ups that answer null for a handle that is not (or no longer) alive.
    GdiObject* object(Handle handle);
    ContextObject* context(Context handle);
    WindowObject* window(Window handle) const;

    // The picture a context draws into; null while it holds the stock bitmap.
    raster::Image* surface(ContextObject& context);
    bool isSelectedAnywhere(const GdiObject* object) const;

    GdiObject* addObject(std::unique_ptr<GdiObject> object);
    ContextObject* addContext(std::unique_ptr<ContextObject> context);
};

}  // namespace vorn::platform
