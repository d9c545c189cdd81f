#include "app_icons.hpp"

#include <algorithm>

#include <QFileInfo>

// GLib headers name struct members "signals", which Qt defines as a keyword.
#undef signals
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>
#define signals Q_SIGNALS

namespace {

const QString kBundlePrefix = QStringLiteral("bundle:");
const QString kDesktopSuffix = QStringLiteral(".desktop");

// Owns one GLib object reference.
template <typename T> class GObjectRef final {
public:
    explicit GObjectRef(T *object)
        : m_object(object)
    {
    }
    ~GObjectRef()
    {
        if (m_object)
            g_object_unref(m_object);
    }
    GObjectRef(const GObjectRef &) = delete;
    GObjectRef &operator=(const GObjectRef &) = delete;
    GObjectRef(GObjectRef &&) = delete;
    GObjectRef &operator=(GObjectRef &&) = delete;

    T *get() const { return m_object; }
    explicit operator bool() const { return m_object != nullptr; }

private:
    T *m_object;
};

bool isAllowedInDesktopId(QChar c)
{
    // A desktop-file id is a file name: no separators, no control characters, no NUL (which would
    // cut the C string and look up another application).
    return c != QLatin1Char('/') && c != QLatin1Char('\\') && !c.isNull()
        && c.category() != QChar::Other_Control && !c.isSurrogate();
}

// The size the audio picker draws icons at; an icon that gives no image there is not usable.
constexpr int kProbeSize = 22;

// QIcon accepts names and paths it cannot draw (an SVG without the SVG plugin, a broken file);
// only an icon that renders counts as found.
bool isDrawable(const QIcon &icon)
{
    return !icon.isNull() && !icon.pixmap(QSize(kProbeSize, kProbeSize)).isNull();
}

QIcon iconFromThemedNames(GThemedIcon *themed)
{
    const gchar *const *names = g_themed_icon_get_names(themed);
    for (; names && *names; ++names) {
        const QString name = QString::fromUtf8(*names);
        if (name.isEmpty() || !QIcon::hasThemeIcon(name))
            continue;
        QIcon icon = QIcon::fromTheme(name);
        if (isDrawable(icon))
            return icon;
    }
    return {};
}

QIcon iconFromFile(GFileIcon *fileIcon)
{
    GFile *file = g_file_icon_get_file(fileIcon);
    if (!file)
        return {};
    gchar *rawPath = g_file_get_path(file);
    if (!rawPath)
        return {};
    const QString path = QString::fromLocal8Bit(rawPath);
    g_free(rawPath);
    if (!QFileInfo(path).isFile())
        return {};
    QIcon icon(path);
    return isDrawable(icon) ? icon : QIcon();
}

} // namespace

QString desktopFileIdForSource(const QString &sourceId)
{
    if (!sourceId.startsWith(kBundlePrefix, Qt::CaseSensitive))
        return {};
    QString id = sourceId.mid(kBundlePrefix.size());
    if (id.isEmpty() || !std::all_of(id.cbegin(), id.cend(), isAllowedInDesktopId))
        return {};
    if (!id.endsWith(kDesktopSuffix))
        id += kDesktopSuffix;
    if (id == kDesktopSuffix)
        return {};
    return id;
}

QIcon applicationIcon(const QString &sourceId)
{
    const QString desktopId = desktopFileIdForSource(sourceId);
    if (desktopId.isEmpty())
        return {};

    const QByteArray utf8 = desktopId.toUtf8();
    const GObjectRef<GDesktopAppInfo> info(g_desktop_app_info_new(utf8.constData()));
    if (!info)
        return {};
    GIcon *icon = g_app_info_get_icon(G_APP_INFO(info.get())); // owned by info
    if (!icon)
        return {};
    if (G_IS_THEMED_ICON(icon))
        return iconFromThemedNames(G_THEMED_ICON(icon));
    if (G_IS_FILE_ICON(icon))
        return iconFromFile(G_FILE_ICON(icon));
    return {};
}
