#!/usr/bin/python3
"""Stand-ins for the desktop's D-Bus services (settings portal, screen savers, logind) and
org.tavu.FakeDesktop.Control, whose calls emit their signal before they return. Arguments:
--setting GROUP KEY TYPE(u|b) VALUE, --no-read-one (a portal before version 2), --only NAME."""

import sys

import gi

gi.require_version("Gio", "2.0")
from gi.repository import Gio, GLib  # noqa: E402

PORTAL = "org.freedesktop.portal.Desktop"
LOGIN = "org.freedesktop.login1"
SESSION_PATH = "/org/freedesktop/login1/session/_3fake"
SCREENSAVER_PATHS = {
    "/org/freedesktop/ScreenSaver": "org.freedesktop.ScreenSaver",
    "/ScreenSaver": "org.freedesktop.ScreenSaver",
    "/org/gnome/ScreenSaver": "org.gnome.ScreenSaver",
}
NAMES = (PORTAL, "org.freedesktop.ScreenSaver", "org.gnome.ScreenSaver", LOGIN)


def arguments(signature, direction):
    return "".join('<arg type="%s" direction="%s"/>' % (t, direction) for t in signature)


class FakeDesktop:
    def __init__(self, settings, read_one, only):
        self.settings = settings
        self.bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
        wanted = [name for name in NAMES if not only or name in only]
        if PORTAL in wanted:
            # Older portals only know Read, which wraps the value in one more variant.
            value = lambda g, k: self.settings[(g, k)]  # noqa: E731, a KeyError is NotFound
            reads = {"Read": ("ss", "v", lambda g, k: GLib.Variant("(v)", (GLib.Variant(
                "v", value(g, k)),)))}
            if read_one:
                reads["ReadOne"] = ("ss", "v", lambda g, k: GLib.Variant("(v)", (value(g, k),)))
            self.export("/org/freedesktop/portal/desktop", "org.freedesktop.portal.Settings", reads)
        if LOGIN in wanted:
            session = lambda _which: GLib.Variant("(o)", (SESSION_PATH,))  # noqa: E731
            self.export("/org/freedesktop/login1", "org.freedesktop.login1.Manager",
                        {"GetSession": ("s", "o", session), "GetSessionByPID": ("u", "o", session)})
        self.export("/org/tavu/FakeDesktop", "org.tavu.FakeDesktop.Control", {
            "SetSetting": ("ssv", "", self.set_setting),
            "SetScreenSaverActive": ("sb", "", self.set_active),
            "SetLockedHint": ("b", "", self.set_locked_hint)})
        for name in wanted + ["org.tavu.FakeDesktop"]:  # queued behind a previous owner, if any
            self.bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus",
                               "org.freedesktop.DBus", "RequestName",
                               GLib.Variant("(su)", (name, 0)), None, 0, -1, None)
        print("ready", flush=True)

    def export(self, path, iface, methods):
        xml = "".join('<method name="%s">%s%s</method>' % (name, arguments(ins, "in"),
                                                           arguments(outs, "out"))
                      for name, (ins, outs, _) in methods.items())

        def on_call(connection, sender, obj, iface, name, params, invocation):
            try:
                invocation.return_value(methods[name][2](*params.unpack()))
            except LookupError as error:
                invocation.return_dbus_error("org.freedesktop.portal.Error.NotFound", str(error))

        node = '<node><interface name="%s">%s</interface></node>' % (iface, xml)
        self.bus.register_object(path, Gio.DBusNodeInfo.new_for_xml(node).interfaces[0], on_call,
                                 None, None)

    def emit(self, path, iface, signal, signature, values):
        self.bus.emit_signal(None, path, iface, signal, GLib.Variant(signature, values))

    def set_setting(self, group, key, value):
        # unpack() made the variant a Python value: give it back its D-Bus type.
        kind = "b" if isinstance(value, bool) else "u" if isinstance(value, int) else "s"
        value = GLib.Variant(kind, value)
        self.settings[(group, key)] = value
        self.emit("/org/freedesktop/portal/desktop", "org.freedesktop.portal.Settings",
                  "SettingChanged", "(ssv)", (group, key, value))

    def set_active(self, path, active):
        self.emit(path, SCREENSAVER_PATHS[path], "ActiveChanged", "(b)", (active,))

    def set_locked_hint(self, locked):
        self.emit(SESSION_PATH, "org.freedesktop.DBus.Properties", "PropertiesChanged",
                  "(sa{sv}as)",
                  ("org.freedesktop.login1.Session", {"LockedHint": GLib.Variant("b", locked)}, []))


def main(argv):
    settings, only = {}, set()
    while argv:
        if argv[0] == "--setting":
            group, key, kind, text = argv[1:5]
            settings[(group, key)] = GLib.Variant(kind, text == "true" if kind == "b" else int(text))
        elif argv[0] == "--only":
            only.add(argv[1])
        argv = argv[{"--setting": 5, "--only": 2}.get(argv[0], 1):]
    FakeDesktop(settings, "--no-read-one" not in sys.argv, only)
    GLib.MainLoop().run()


if __name__ == "__main__":
    main(sys.argv[1:])
