#include "app/DesktopCompositing.h"

#include <dlfcn.h>

#include <QGuiApplication>
#include <cstdlib>

#if __has_include(<xcb/xcb.h>)
#include <xcb/xcb.h>
#define CORVANE_HAS_XCB 1
#endif

namespace corvane::app {
namespace {

#ifdef CORVANE_HAS_XCB
// Looks a libxcb function up in the process: the X11 platform plugin has loaded the library,
// so the application needs no link of its own against it.
template <typename Function>
Function* xcbFunction(const char* name) {
    return reinterpret_cast<Function*>(dlsym(RTLD_DEFAULT, name));
}

bool compositingManagerRuns() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    auto* internAtom = xcbFunction<decltype(xcb_intern_atom)>("xcb_intern_atom");
    auto* internAtomReply = xcbFunction<decltype(xcb_intern_atom_reply)>("xcb_intern_atom_reply");
    auto* getOwner = xcbFunction<decltype(xcb_get_selection_owner)>("xcb_get_selection_owner");
    auto* getOwnerReply =
        xcbFunction<decltype(xcb_get_selection_owner_reply)>("xcb_get_selection_owner_reply");
    if (!connection || !internAtom || !internAtomReply || !getOwner || !getOwnerReply) return false;

    static constexpr char kSelection[] = "_NET_WM_CM_S0";
    xcb_intern_atom_reply_t* atom = internAtomReply(
        connection, internAtom(connection, 1, sizeof kSelection - 1, kSelection), nullptr);
    if (!atom) return false;
    xcb_atom_t selection = atom->atom;
    std::free(atom);
    if (selection == XCB_ATOM_NONE) return false;
    xcb_get_selection_owner_reply_t* owner =
        getOwnerReply(connection, getOwner(connection, selection), nullptr);
    if (!owner) return false;
    bool owned = owner->owner != XCB_WINDOW_NONE;
    std::free(owner);
    return owned;
}
#else
bool compositingManagerRuns() {
    return false;
}
#endif

}  // namespace

bool desktopComposites() {
    const QString platform = QGuiApplication::platformName();
    if (platform.startsWith(QLatin1String("wayland")) || platform == QLatin1String("offscreen"))
        return true;
    if (platform == QLatin1String("xcb")) return compositingManagerRuns();
    return false;
}

}  // namespace corvane::app
