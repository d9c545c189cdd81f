#!/usr/bin/python3
"""A stand-in for the desktop's D-Bus services, for tests on a private bus.

It owns, on the bus given by DBUS_SESSION_BUS_ADDRESS:
  org.freedesktop.portal.Desktop  the settings portal (Read, ReadOne, ReadAll, SettingChanged)
  org.freedesktop.ScreenSaver     ActiveChanged(b) on /org/freedesktop/ScreenSaver and /ScreenSaver
  org.gnome.ScreenSaver           ActiveChanged(b) on /org/gnome/ScreenSaver
  org.freedesktop.login1          GetSession, GetSessionByPID and one session with LockedHint
  org.tavu.FakeDesktop            Control: SetSetting(ssv), SetScreenSaverActive(sb),
                                  SetLockedHint(b), the test's way to make things happen

Options: --setting GROUP KEY TYPE VALUE (TYPE u or b; repeatable) for the initial settings,
--no-read-one for a portal older than version 2, --only NAME (repeatable) to own only some
of the names. Prints "ready" on standard output once every name is owned.
"""

import sys

import gi

gi.require_version("Gio", "2.0")
from gi.repository import Gio, GLib  # noqa: E402

PORTAL = "org.freedesktop.portal.Desktop"
SCREENSAVER = "org.freedesktop.ScreenSaver"
GNOME_SCREENSAVER = "org.gnome.ScreenSaver"
LOGIN = "org.freedesktop.login1"
CONTROL = "org.tavu.FakeDesktop"
SESSION_PATH = "/org/freedesktop/login1/session/_3fake"

SETTINGS_XML = """
<node><interface name="org.freedesktop.portal.Settings">
  <method name="ReadAll"><arg type="as" direction="in"/><arg type="a{sa{sv}}" direction="out"/></method>
  <method name="Read"><arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="v" direction="out"/></method>
  %s
  <signal name="SettingChanged"><arg type="s"/><arg type="s"/><arg type="v"/></signal>
  <property name="version" type="u" access="read"/>
</interface></node>
"""
READ_ONE_XML = """<method name="ReadOne"><arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="v" direction="out"/></method>"""

SCREENSAVER_XML = """
<node><interface name="%s">
  <method name="GetActive"><arg type="b" direction="out"/></method>
  <signal name="ActiveChanged"><arg type="b"/></signal>
</interface></node>
"""

MANAGER_XML = """
<node><interface name="org.freedesktop.login1.Manager">
  <method name="GetSession"><arg type="s" direction="in"/><arg type="o" direction="out"/></method>
  <method name="GetSessionByPID"><arg type="u" direction="in"/><arg type="o" direction="out"/></method>
</interface></node>
"""

SESSION_XML = """
<node><interface name="org.freedesktop.login1.Session">
  <property name="LockedHint" type="b" access="read"/>
</interface></node>
"""

CONTROL_XML = """
<node><interface name="org.tavu.FakeDesktop.Control">
  <method name="SetSetting"><arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="v" direction="in"/></method>
  <method name="SetScreenSaverActive"><arg type="s" direction="in"/><arg type="b" direction="in"/></method>
  <method name="SetLockedHint"><arg type="b" direction="in"/></method>
</interface></node>
"""

SCREENSAVER_PATHS = {
    "/org/freedesktop/ScreenSaver": SCREENSAVER,
    "/ScreenSaver": SCREENSAVER,
    "/org/gnome/ScreenSaver": GNOME_SCREENSAVER,
}


class FakeDesktop:
    def __init__(self, settings, read_one, only):
        self.settings = settings
        self.read_one = read_one
        self.only = only
        self.locked_hint = False
        self.active = {path: False for path in SCREENSAVER_PATHS}
        self.bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
        self.pending = 0

    def wanted(self, name):
        return not self.only or name in self.only

    # --- registration -------------------------------------------------------------------
    def export(self, path, xml, methods, properties=None):
        info = Gio.DBusNodeInfo.new_for_xml(xml).interfaces[0]

        def on_call(connection, sender, obj, interface, method, params, invocation):
            try:
                result = methods[method](*params.unpack())
            except KeyError:
                invocation.return_dbus_error("org.freedesktop.DBus.Error.UnknownMethod", method)
                return
            except LookupError as error:
                invocation.return_dbus_error("org.freedesktop.portal.Error.NotFound", str(error))
                return
            invocation.return_value(result)

        def on_get(connection, sender, obj, interface, name):
            return properties[name]() if properties and name in properties else None

        self.bus.register_object(path, info, on_call, on_get, None)

    def own(self, name):
        self.pending += 1

        def acquired(*_):
            self.pending -= 1
            if self.pending == 0:
                print("ready", flush=True)

        Gio.bus_own_name_on_connection(self.bus, name, Gio.BusNameOwnerFlags.NONE, acquired, None)

    def start(self):
        if self.wanted(PORTAL):
            xml = SETTINGS_XML % (READ_ONE_XML if self.read_one else "")
            methods = {"Read": self.read, "ReadAll": self.read_all}
            if self.read_one:
                methods["ReadOne"] = self.read_one_value
            self.export("/org/freedesktop/portal/desktop", xml, methods,
                        {"version": lambda: GLib.Variant("u", 2 if self.read_one else 1)})
        for path, interface in SCREENSAVER_PATHS.items():
            if self.wanted(interface):
                self.export(path, SCREENSAVER_XML % interface,
                            {"GetActive": lambda p=path: GLib.Variant("(b)", (self.active[p],))})
        if self.wanted(LOGIN):
            self.export("/org/freedesktop/login1", MANAGER_XML,
                        {"GetSession": self.get_session, "GetSessionByPID": self.get_session})
            self.export(SESSION_PATH, SESSION_XML, {},
                        {"LockedHint": lambda: GLib.Variant("b", self.locked_hint)})
        self.export("/org/tavu/FakeDesktop", CONTROL_XML, {
            "SetSetting": self.set_setting,
            "SetScreenSaverActive": self.set_screensaver_active,
            "SetLockedHint": self.set_locked_hint,
        })
        for name in (PORTAL, SCREENSAVER, GNOME_SCREENSAVER, LOGIN):
            if self.wanted(name):
                self.own(name)
        self.own(CONTROL)

    # --- portal ---------------------------------------------------------------------------
    def lookup(self, group, key):
        if (group, key) not in self.settings:
            raise LookupError("%s %s" % (group, key))
        return self.settings[(group, key)]

    def read_one_value(self, group, key):
        return GLib.Variant("(v)", (self.lookup(group, key),))

    def read(self, group, key):
        # Read answers with the value wrapped in one more variant.
        return GLib.Variant("(v)", (GLib.Variant("v", self.lookup(group, key)),))

    def read_all(self, groups):
        result = {}
        for (group, key), value in self.settings.items():
            if not groups or group in groups:
                result.setdefault(group, {})[key] = value
        return GLib.Variant("(a{sa{sv}})", (result,))

    def emit(self, path, interface, signal, signature, values):
        self.bus.emit_signal(None, path, interface, signal, GLib.Variant(signature, values))

    # --- control --------------------------------------------------------------------------
    def set_setting(self, group, key, value):
        # unpack() turned the variant into a Python value; keep the D-Bus type we were given.
        variant = value if isinstance(value, GLib.Variant) else self.typed(value)
        self.settings[(group, key)] = variant
        self.emit("/org/freedesktop/portal/desktop", "org.freedesktop.portal.Settings",
                  "SettingChanged", "(ssv)", (group, key, variant))
        return None

    @staticmethod
    def typed(value):
        if isinstance(value, bool):
            return GLib.Variant("b", value)
        if isinstance(value, int):
            return GLib.Variant("u", value)
        return GLib.Variant("s", str(value))

    def set_screensaver_active(self, path, active):
        interface = SCREENSAVER_PATHS[path]
        self.active[path] = active
        self.emit(path, interface, "ActiveChanged", "(b)", (active,))
        return None

    def set_locked_hint(self, locked):
        self.locked_hint = locked
        self.emit(SESSION_PATH, "org.freedesktop.DBus.Properties", "PropertiesChanged",
                  "(sa{sv}as)",
                  ("org.freedesktop.login1.Session", {"LockedHint": GLib.Variant("b", locked)}, []))
        return None

    def get_session(self, _which):
        return GLib.Variant("(o)", (SESSION_PATH,))


def parse(argv):
    settings, read_one, only = {}, True, set()
    i = 0
    while i < len(argv):
        arg = argv[i]
        if arg == "--setting":
            group, key, kind, text = argv[i + 1:i + 5]
            value = GLib.Variant("b", text == "true") if kind == "b" else GLib.Variant(kind, int(text))
            settings[(group, key)] = value
            i += 5
        elif arg == "--no-read-one":
            read_one = False
            i += 1
        elif arg == "--only":
            only.add(argv[i + 1])
            i += 2
        else:
            sys.exit("unknown option " + arg)
    return settings, read_one, only


def main():
    settings, read_one, only = parse(sys.argv[1:])
    FakeDesktop(settings, read_one, only).start()
    GLib.MainLoop().run()


if __name__ == "__main__":
    main()
