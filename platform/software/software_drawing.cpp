// The GDI half of the software window system: bitmaps, fonts, brushes and
// the contexts that draw with them.

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/software/software_state.h"
#include "resources/artwork.h"
#include "resources/pixel_font.h"

namespace vorn::platform {
namespace {

// The stock font stands for the system's default font, a taller cell than the
// editor's own.
constexpr int kStockFontHeight = 16;
// Fixed-pitch text: a 10-pixel cell is 6 pixels wide, wider cells in proportion.
constexpr int kTextCellWidthPerTenRows = 6;
// Opaque text fills its cells with the default background colour first.
constexpr Colour kTextBackground = {255, 255, 255};

int textCellWidth(int fontHeight) {
    return std::max(kTextCellWidthPerTenRows, fontHeight * kTextCellWidthPerTenRows / 10);
}

}  // namespace

SoftwareWindowSystem::State::State() {
    stockBitmap.kind = GdiObject::Kind::bitmap;
    stockBitmap.stock = true;
    stockBitmap.image = raster::Image(1, 1);
    stockFont.kind = GdiObject::Kind::font;
    stockFont.stock = true;
    stockFont.fontHeight = kStockFontHeight;
}

GdiObject* SoftwareWindowSystem::State::object(Handle handle) {
    if (handle == &stockBitmap || handle == &stockFont) return handle;
    return objects.count(handle) ? handle : nullptr;
}

ContextObject* SoftwareWindowSystem::State::context(Context handle) {
    return contexts.count(handle) ? handle : nullptr;
}

raster::Image* SoftwareWindowSystem::State::surface(ContextObject& context) {
    if (context.window) return &context.window->screen;
    if (!context.bitmap || context.bitmap->stock) return nullptr;
    return &context.bitmap->image;
}

bool SoftwareWindowSystem::State::isSelectedAnywhere(const GdiObject* object) const {
    return std::any_of(contexts.begin(), contexts.end(), [&](const auto& entry) {
        return entry.second->bitmap == object || entry.second->font == object;
    });
}

GdiObject* SoftwareWindowSystem::State::addObject(std::unique_ptr<GdiObject> object) {
    GdiObject* handle = object.get();
    objects.emplace(handle, std::move(object));
    return handle;
}

ContextObject* SoftwareWindowSystem::State::addContext(std::unique_ptr<ContextObject> context) {
    ContextObject* handle = context.get();
    contexts.emplace(handle, std::move(context));
    return handle;
}

// A null module stands for the system's own resources, which hold none of
// the editor's bitmaps.
Handle SoftwareWindowSystem::loadBitmap(Module module, int resourceId) {
    if (!module) return nullptr;
    raster::Image image = resources::drawBitmapResource(resourceId);
    if (image.pixels.empty()) return nullptr;
    auto bitmap = std::make_unique<GdiObject>();
    bitmap->kind = GdiObject::Kind::bitmap;
    bitmap->image = std::move(image);
    return state->addObject(std::move(bitmap));
}

Handle SoftwareWindowSystem::createFont(int height, const char* /*face: one look for all*/) {
    auto font = std::make_unique<GdiObject>();
    font->kind = GdiObject::Kind::font;
    font->fontHeight = height > 0 ? height : kStockFontHeight;
    return state->addObject(std::move(font));
}

Handle SoftwareWindowSystem::createSolidBrush(Colour colour) {
    auto brush = std::make_unique<GdiObject>();
    brush->kind = GdiObject::Kind::brush;
    brush->brushColour = colour;
    return state->addObject(std::move(brush));
}

void SoftwareWindowSystem::deleteObject(Handle handle) {
    GdiObject* object = state->object(handle);
    if (!object || object->stock || state->isSelectedAnywhere(object)) return;
    state->objects.erase(object);
}

Context SoftwareWindowSystem::createCompatibleContext(Context handle) {
    // A null context means "compatible with the screen".
    if (handle && !state->context(handle)) return nullptr;
    auto context = std::make_unique<ContextObject>();
    context->bitmap = &state->stockBitmap;
    context->font = &state->stockFont;
    return state->addContext(std::move(context));
}

Handle SoftwareWindowSystem::createCompatibleBitmap(Context handle, int width, int height) {
    if (!state->context(handle) || width <= 0 || height <= 0) return nullptr;
    auto bitmap = std::make_unique<GdiObject>();
    bitmap->kind = GdiObject::Kind::bitmap;
    bitmap->image = raster::Image(width, height);
    return state->addObject(std::move(bitmap));
}

Handle SoftwareWindowSystem::select(Context contextHandle, Handle objectHandle) {
    ContextObject* context = state->context(contextHandle);
    GdiObject* object = state->object(objectHandle);
    if (!context || !object) return nullptr;
    switch (object->kind) {
        case GdiObject::Kind::bitmap: {
            // A bitmap goes into one memory context at a time, never into a
            // window's paint context.
            if (context->window) return nullptr;
            if (!object->stock && object != context->bitmap && state->isSelectedAnywhere(object)) {
                return nullptr;
            }
            return std::exchange(context->bitmap, object);
        }
        case GdiObject::Kind::font: return std::exchange(context->font, object);
        case GdiObject::Kind::brush: return nullptr;  // fills take their brush directly
    }
    return nullptr;
}

void SoftwareWindowSystem::deleteContext(Context handle) {
    ContextObject* context = state->context(handle);
    if (!context || context->window) return;  // a paint context ends with endPaint
    state->contexts.erase(context);
}

void SoftwareWindowSystem::copyPixels(Context targetHandle, int x, int y, int width, int height,
                                      Context sourceHandle, int sourceX, int sourceY) {
    ContextObject* target = state->context(targetHandle);
    ContextObject* source = state->context(sourceHandle);
    if (!target || !source) return;
    raster::Image* to = state->surface(*target);
    raster::Image* from = state->surface(*source);
    if (!to || !from) return;
    raster::copyBlock(*to, x, y, width, height, *from, sourceX, sourceY);
}

void SoftwareWindowSystem::fillRect(Context contextHandle, const Rect& rect, Handle brushHandle) {
    ContextObject* context = state->context(contextHandle);
    GdiObject* brush = state->object(brushHandle);
    if (!context || !brush || brush->kind != GdiObject::Kind::brush) return;
    if (raster::Image* surface = state->surface(*context)) {
        surface->fill(rect, brush->brushColour);
    }
}

void SoftwareWindowSystem::setTransparentText(Context handle) {
    if (ContextObject* context = state->context(handle)) context->transparentText = true;
}

void SoftwareWindowSystem::setTextColour(Context handle, Colour colour) {
    if (ContextObject* context = state->context(handle)) context->textColour = colour;
}

// Fixed-pitch cells as tall as the font, the glyphs centred in them; the
// count of characters is taken as given, as on Windows.
void SoftwareWindowSystem::drawText(Context handle, int x, int y, const char* text, int length) {
    ContextObject* context = state->context(handle);
    if (!context || !text || length <= 0) return;
    raster::Image* surface = state->surface(*context);
    if (!surface) return;
    const int cellHeight = context->font->fontHeight;
    const int cellWidth = textCellWidth(cellHeight);
    if (!context->transparentText) {
        surface->fill({x, y, x + cellWidth * length, y + cellHeight}, kTextBackground);
    }
    const int glyphTop = y + std::max(0, cellHeight - resources::kGlyphHeight) / 2;
    resources::drawTextInCells(*surface, x, glyphTop, std::string_view(text, length),
                               context->textColour, cellWidth);
}

const raster::Image& SoftwareWindowSystem::bitmapImage(Handle handle) const {
    static const raster::Image kNone;
    GdiObject* object = state->object(handle);
    if (!object || object->kind != GdiObject::Kind::bitmap) return kNone;
    return object->image;
}

int SoftwareWindowSystem::liveObjectCount() const {
    return static_cast<int>(state->objects.size() + state->contexts.size());
}

}  // namespace vorn::platform
