#include "app_icons.hpp"

#include <algorithm>

#include <QDir>
#include <QFileInfo>
#include <QStringList>

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

// Where the icon theme lookup ends when no theme has the icon: an image named after it directly
// in a base folder, in the order the icon theme specification gives ($HOME/.icons, then the data
// folders' icons, then /usr/share/pixmaps; the user's data folder comes with $HOME/.icons).
QStringList fallbackIconFolders()
{
    const QString home = QDir::homePath();
    QStringList folders {home + QStringLiteral("/.icons")};
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataHome.isEmpty())
        dataHome = home + QStringLiteral("/.local/share");
    folders.append(dataHome + QStringLiteral("/icons"));
    QString dataDirs = qEnvironmentVariable("XDG_DATA_DIRS");
    if (dataDirs.isEmpty())
        dataDirs = QStringLiteral("/usr/local/share/:/usr/share/");
    for (const QString &dir : dataDirs.split(u':', Qt::SkipEmptyParts))
        folders.append(dir + QStringLiteral("/icons"));
    folders.append(QStringLiteral("/usr/share/pixmaps"));
    return folders;
}

QIcon iconFromFallbackFolders(const QString &name)
{
    if (name.contains(u'/'))
        return {};
    for (const QString &folder : fallbackIconFolders()) {
        for (const char *extension : {".png", ".svg", ".xpm"}) {
            const QString path = folder + u'/' + name + QLatin1String(extension);
            if (!QFileInfo(path).isFile())
                continue;
            QIcon icon(path);
            if (isDrawable(icon))
                return icon;
        }
    }
    return {};
}

QIcon iconFromThemedNames(GThemedIcon *themed)
{
    const gchar *const *names = g_themed_icon_get_names(themed);
    for (; names && *names; ++names) {
        const QString name = QString::fromUtf8(*names);
        if (name.isEmpty())
            continue;
        QIcon icon = QIcon::hasThemeIcon(name) ? QIcon::fromTheme(name) : QIcon();
        if (!isDrawable(icon))
            icon = iconFromFallbackFolders(name);
        if (!icon.isNull())
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
