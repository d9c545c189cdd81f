#!/usr/bin/python3
"""A stand-in for the desktop's D-Bus services, for tests on a private bus.

It owns, on the bus given by DBUS_SESSION_BUS_ADDRESS, the settings portal
(org.freedesktop.portal.Desktop), the screen savers (org.freedesktop.ScreenSaver,
org.gnome.ScreenSaver), logind (org.freedesktop.login1: GetSession, GetSessionByPID and one
session whose LockedHint changes) and org.tavu.FakeDesktop, whose Control interface
(SetSetting(ssv), SetScreenSaverActive(sb), SetLockedHint(b)) is the test's way to make things
happen. Each control call emits its signal before it returns.

Options: --setting GROUP KEY TYPE VALUE (TYPE u or b; repeatable) for the initial settings,
--no-read-one for a portal older than version 2, --only NAME (repeatable) to own only some
of the names. Prints "ready" on standard output once every name is owned.
"""

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


def method(name, signature_in, signature_out=""):
    args = "".join('<arg type="%s" direction="in"/>' % t for t in signature_in)
    args += "".join('<arg type="%s" direction="out"/>' % t for t in signature_out)
    return '<method name="%s">%s</method>' % (name, args)


def interface(name, *methods):
    return '<node><interface name="%s">%s</interface></node>' % (name, "".join(methods))


class FakeDesktop:
    def __init__(self, settings, read_one, only):
        self.settings = settings
        self.bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
        self.pending = 0
        wanted = [name for name in NAMES if not only or name in only]
        if PORTAL in wanted:
            # Older portals only know Read, which wraps the value in one more variant.
            reads = {"Read": lambda g, k: GLib.Variant("(v)", (GLib.Variant("v", self.get(g, k)),))}
            if read_one:
                reads["ReadOne"] = lambda g, k: GLib.Variant("(v)", (self.get(g, k),))
            self.export("/org/freedesktop/portal/desktop",
                        interface("org.freedesktop.portal.Settings",
                                  *(method(name, "ss", "v") for name in reads)), reads)
        if LOGIN in wanted:
            session = lambda _which: GLib.Variant("(o)", (SESSION_PATH,))  # noqa: E731
            self.export("/org/freedesktop/login1",
                        interface("org.freedesktop.login1.Manager", method("GetSession", "s", "o"),
                                  method("GetSessionByPID", "u", "o")),
                        {"GetSession": session, "GetSessionByPID": session})
        self.export("/org/tavu/FakeDesktop",
                    interface("org.tavu.FakeDesktop.Control", method("SetSetting", "ssv"),
                              method("SetScreenSaverActive", "sb"), method("SetLockedHint", "b")),
                    {"SetSetting": self.set_setting, "SetScreenSaverActive": self.set_active,
                     "SetLockedHint": self.set_locked_hint})
        for name in wanted + ["org.tavu.FakeDesktop"]:
            self.own(name)

    def export(self, path, xml, methods):
        def on_call(connection, sender, obj, iface, name, params, invocation):
            try:
                invocation.return_value(methods[name](*params.unpack()))
            except LookupError as error:
                invocation.return_dbus_error("org.freedesktop.portal.Error.NotFound", str(error))

        info = Gio.DBusNodeInfo.new_for_xml(xml).interfaces[0]
        self.bus.register_object(path, info, on_call, None, None)

    def own(self, name):
        self.pending += 1

        def acquired(*_):
            self.pending -= 1
            if self.pending == 0:
                print("ready", flush=True)

        Gio.bus_own_name_on_connection(self.bus, name, Gio.BusNameOwnerFlags.NONE, acquired, None)

    def get(self, group, key):
        if (group, key) not in self.settings:
            raise LookupError("%s %s" % (group, key))
        return self.settings[(group, key)]

    def emit(self, path, iface, signal, signature, values):
        self.bus.emit_signal(None, path, iface, signal, GLib.Variant(signature, values))

    def set_setting(self, group, key, value):
        # unpack() made the variant a Python value: give it back its D-Bus type.
        if isinstance(value, bool):
            value = GLib.Variant("b", value)
        elif isinstance(value, int):
            value = GLib.Variant("u", value)
        else:
            value = GLib.Variant("s", str(value))
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
    settings, read_one, only = {}, True, set()
    while argv:
        if argv[0] == "--setting":
            group, key, kind, text = argv[1:5]
            value = text == "true" if kind == "b" else int(text)
            settings[(group, key)] = GLib.Variant(kind, value)
            argv = argv[5:]
        elif argv[0] == "--no-read-one":
            read_one, argv = False, argv[1:]
        elif argv[0] == "--only":
            only.add(argv[1])
            argv = argv[2:]
        else:
            sys.exit("unknown option " + argv[0])
    FakeDesktop(settings, read_one, only)
    GLib.MainLoop().run()


if __name__ == "__main__":
    main(sys.argv[1:])
