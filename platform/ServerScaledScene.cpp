#include "platform/ServerScaledScene.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xcomposite.h>
#include <X11/extensions/Xfixes.h>
#include <X11/extensions/Xrender.h>
#include <X11/extensions/shape.h>

#include <array>
#include <cstdint>
#include <utility>

#include "IEngine.h"
#include "IGraphics.h"
#include "platform/MessagePump.h"
#include "platform/SceneViewport.h"

struct ServerScaledScene::XObjects {
    Display* display = nullptr;
    ::Window child = 0;
    Colormap colormap = 0;
    Picture scene = 0;   // the child's picture, read through the scaling transform
    Picture window = 0;  // the window's, over its children
};

namespace {

// Xlib's default error handler ends the program; while the child is set up, errors are
// counted instead and the server then scales nothing.
int errorsSeen = 0;

int CountError(Display*, XErrorEvent*) {
    ++errorsSeen;
    return 0;
}

class ErrorTrap {
public:
    explicit ErrorTrap(Display* display) : display(display) {
        XSync(display, False);
        errorsSeen = 0;
        previous = XSetErrorHandler(CountError);
    }
    ~ErrorTrap() {
        XSync(display, False);
        XSetErrorHandler(previous);
    }
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

    bool Failed() {
        XSync(display, False);
        return errorsSeen > 0;
    }

private:
    Display* display;
    XErrorHandler previous = nullptr;
};

// Composite 0.2 names redirected windows' contents, XFixes 2 shapes the input region.
bool HasExtensions(Display* display) {
    int event = 0;
    int error = 0;
    int major = 0;
    int minor = 0;
    bool composite = XCompositeQueryExtension(display, &event, &error) &&
                     XCompositeQueryVersion(display, &major, &minor) && (major > 0 || minor >= 2);
    int shapeEvent = 0;
    int shapeError = 0;
    bool fixes = XFixesQueryExtension(display, &event, &error) && XFixesQueryVersion(display, &major, &minor) &&
                 major >= 2 && XShapeQueryExtension(display, &shapeEvent, &shapeError);
    return composite && fixes && XRenderQueryExtension(display, &event, &error);
}

// A child of the window's visual, kept off the screen by the server and transparent to the
// pointer, so that every mouse event reaches the window.
bool CreateChild(Display* display, ::Window parent, int width, int height, ServerScaledScene::XObjects& x) {
    XWindowAttributes parentAttributes;
    if (!XGetWindowAttributes(display, parent, &parentAttributes)) {
        return false;
    }
    XRenderPictFormat* format = XRenderFindVisualFormat(display, parentAttributes.visual);
    if (!format) {
        return false;
    }
    XSetWindowAttributes attributes{};
    x.colormap = XCreateColormap(display, parent, parentAttributes.visual, AllocNone);
    attributes.colormap = x.colormap;
    attributes.border_pixel = 0;
    attributes.background_pixmap = None;
    x.child = XCreateWindow(display, parent, 0, 0, static_cast<unsigned int>(width), static_cast<unsigned int>(height),
                            0, parentAttributes.depth, InputOutput, parentAttributes.visual,
                            CWColormap | CWBorderPixel | CWBackPixmap, &attributes);
    XCompositeRedirectWindow(display, x.child, CompositeRedirectManual);
    XserverRegion nothing = XFixesCreateRegion(display, nullptr, 0);
    XFixesSetWindowShapeRegion(display, x.child, ShapeInput, 0, 0, nothing);
    XFixesDestroyRegion(display, nothing);
    XMapWindow(display, x.child);

    // Filtering at the edges reads the edge pixels, not black.
    XRenderPictureAttributes sceneAttributes{};
    sceneAttributes.repeat = RepeatPad;
    x.scene = XRenderCreatePicture(display, x.child, format, CPRepeat, &sceneAttributes);
    XRenderPictureAttributes windowAttributes{};
    windowAttributes.subwindow_mode = IncludeInferiors;
    x.window = XRenderCreatePicture(display, parent, format, CPSubwindowMode, &windowAttributes);
    return true;
}

void DestroyChild(ServerScaledScene::XObjects& x) {
    if (x.scene) {
        XRenderFreePicture(x.display, x.scene);
    }
    if (x.window) {
        XRenderFreePicture(x.display, x.window);
    }
    if (x.child) {
        XDestroyWindow(x.display, x.child);
    }
    if (x.colormap) {
        XFreeColormap(x.display, x.colormap);
    }
    XSync(x.display, False);
}

// SDL's own window over the child, on which the OpenGL context can be made current.
SDL_Window* WrapChild(::Window child) {
    SDL_SetHint(SDL_HINT_VIDEO_FOREIGN_WINDOW_OPENGL, "1");
    SDL_Window* window = SDL_CreateWindowFrom(reinterpret_cast<void*>(static_cast<std::uintptr_t>(child)));
    SDL_ResetHint(SDL_HINT_VIDEO_FOREIGN_WINDOW_OPENGL);
    return window;
}

}  // namespace

std::unique_ptr<ServerScaledScene> ServerScaledScene::Create(IEngine* engine, SDL_Window* window, int sceneWidth,
                                                             int sceneHeight) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || sceneWidth <= 0 || sceneHeight <= 0 || !SDL_GetWindowWMInfo(window, &info) ||
        info.subsystem != SDL_SYSWM_X11 || !HasExtensions(info.info.x11.display)) {
        return nullptr;
    }
    auto x = std::make_unique<XObjects>();
    x->display = info.info.x11.display;
    bool created = false;
    {
        ErrorTrap trap(x->display);
        created = CreateChild(x->display, info.info.x11.window, sceneWidth, sceneHeight, *x) && !trap.Failed();
    }
    SDL_Window* sceneWindow = created ? WrapChild(x->child) : nullptr;
    if (!sceneWindow) {
        DestroyChild(*x);
        return nullptr;
    }
    return std::unique_ptr<ServerScaledScene>(
        new ServerScaledScene(engine, std::move(x), sceneWindow, sceneWidth, sceneHeight));
}

ServerScaledScene::ServerScaledScene(IEngine* engine, std::unique_ptr<XObjects> objects, SDL_Window* sceneWindow,
                                     int sceneWidth, int sceneHeight)
    : engine(engine),
      x(std::move(objects)),
      sceneWindow(sceneWindow),
      sceneWidth(sceneWidth),
      sceneHeight(sceneHeight),
      displayWidth(sceneWidth),
      displayHeight(sceneHeight) {}

// SDL forgets the child without destroying it (it did not create it); then it goes.
ServerScaledScene::~ServerScaledScene() {
    AttachWindowObject(sceneWindow, nullptr);  // drops messages still waiting for it
    SDL_DestroyWindow(sceneWindow);
    DestroyChild(*x);
}

// Smooth scaling filters bilinearly, so that every scene pixel keeps the same weight on the
// display; the nearest pixel at a fractional scale would draw some columns and rows twice as
// wide as others. Sharp scaling enlarges by a whole multiple, where the nearest pixel is exact.
void ServerScaledScene::SetDisplay(int width, int height, SceneScaling newScaling) {
    displayWidth = width;
    displayHeight = height;
    scaling = newScaling;
    if (IGraphics* graphics = engine->GetGraphics()) {
        graphics->SetDisplaySize(sceneWidth, sceneHeight);  // OpenGL draws the scene at its own size
    }
    XRenderSetPictureFilter(x->display, x->scene, scaling == SceneScaling::Smooth ? FilterBilinear : FilterNearest,
                            nullptr, 0);
    SceneRectangle shown = FitScene(sceneWidth, sceneHeight, displayWidth, displayHeight, scaling);
    // The transform maps the window's pixels to the scene's.
    XTransform transform{{{XDoubleToFixed(static_cast<double>(sceneWidth) / shown.width), 0, 0},
                          {0, XDoubleToFixed(static_cast<double>(sceneHeight) / shown.height), 0},
                          {0, 0, XDoubleToFixed(1.0)}}};
    XRenderSetPictureTransform(x->display, x->scene, &transform);
}

void ServerScaledScene::AfterSwap() {
    SceneRectangle shown = FitScene(sceneWidth, sceneHeight, displayWidth, displayHeight, scaling);
    std::array<XRectangle, 4> bars;
    int barCount = 0;
    auto addBar = [&bars, &barCount](int left, int top, int width, int height) {
        if (width > 0 && height > 0) {
            bars[barCount++] = {static_cast<short>(left), static_cast<short>(top), static_cast<unsigned short>(width),
                                static_cast<unsigned short>(height)};
        }
    };
    addBar(0, 0, shown.left, displayHeight);
    addBar(shown.left + shown.width, 0, displayWidth - shown.left - shown.width, displayHeight);
    addBar(shown.left, 0, shown.width, shown.top);
    addBar(shown.left, shown.top + shown.height, shown.width, displayHeight - shown.top - shown.height);
    const XRenderColor black{0, 0, 0, 0xffff};
    if (barCount > 0) {
        XRenderFillRectangles(x->display, PictOpSrc, x->window, &black, bars.data(), barCount);
    }
    XRenderComposite(x->display, PictOpSrc, x->scene, None, x->window, 0, 0, 0, 0, shown.left, shown.top,
                     static_cast<unsigned int>(shown.width), static_cast<unsigned int>(shown.height));
    XFlush(x->display);
}
