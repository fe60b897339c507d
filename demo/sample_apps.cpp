// The applications of the sample machine: bundles with real XML and binary property lists and
// real .icns icons, in /Applications and ~/Applications, and what each left in the home.

#include "demo/PlistWriter.h"
#include "demo/SampleParts.h"

#include <QFont>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace sample {

namespace {

// One installed application of the sample machine and what it left behind.
struct DemoApp
{
    const char *name;
    const char *identifier; // nullptr: the bundle has none
    const char *version;
    const char *glyph; // the letter on its icon; nullptr: no icon file
    QRgb top;
    QRgb bottom;
    bool userFolder = false; // ~/Applications instead of /Applications
    bool binaryPlist = false;
    qint64 bundleSize = 4 * kMiB;
    qint64 supportSize = 0;   // Library/Application Support/<name>
    qint64 cacheSize = 0;     // Library/Caches/<identifier>
    qint64 containerSize = 0; // Library/Containers/<identifier>
    qint64 logSize = 0;       // Library/Logs/<name>
    bool savedState = false;
    bool httpStorage = false;
    bool webkit = false;
    bool launchAgent = false;
    const char *dotFolder = nullptr;    // ~/.<dotFolder>
    const char *configFolder = nullptr; // ~/.config/<configFolder>
};

// clang-format off
const DemoApp kApps[] = {
    {"Aurora Mail", "io.aurora.mail", "4.2.1", "A", 0xFF5AA9FF, 0xFF1E5FD8, false, false, 4864 * kKiB, 6 * kMiB, 3 * kMiB, 4 * kMiB, 0, true, true, true, false, nullptr, nullptr},
    {"Beta Tool", "org.beta.tool", "0.9.3", nullptr, 0, 0, true, false, 256 * kKiB, 300 * kKiB, 0, 0, 0, false, false, false, false, nullptr, nullptr},
    {"Cartograph", "com.cartograph.maps", "2.0.4", "C", 0xFF6FD68B, 0xFF239B56, false, true, 2816 * kKiB, 3 * kMiB, 3 * kMiB, 0, 0, true, false, false, false, nullptr, nullptr},
    {"Chroma Studio", "com.chroma.studio", "7.1.0", "Ch", 0xFFFF8FB1, 0xFFD6336C, false, false, 8 * kMiB, 8 * kMiB, 40 * kMiB, 0, 3 * kMiB, true, false, false, true, nullptr, nullptr},
    {"Code Editor", "dev.codeeditor.app", "1.88.1", "{}", 0xFF4FB3FF, 0xFF1565C0, false, false, 6 * kMiB, 5 * kMiB, 3 * kMiB, 0, 2 * kMiB, true, false, false, false, "codeeditor", "codeeditor"},
    {"Driftwood", "net.driftwood.reader", "3.3", "D", 0xFFC8A27A, 0xFF8D6239, false, true, 1152 * kKiB, 2 * kMiB, 1 * kMiB, 2 * kMiB, 0, true, true, true, false, nullptr, nullptr},
    {"Echo Notes", "com.echonotes.mac", "5.0.2", "E", 0xFFFFD36B, 0xFFF0A202, false, false, 1792 * kKiB, 3 * kMiB, 0, 5 * kMiB, 0, true, false, false, false, nullptr, nullptr},
    {"Fathom", "io.fathom.analytics", "1.4.0", "F", 0xFF8E8CF8, 0xFF4B47D6, true, true, 768 * kKiB, 1 * kMiB, 2 * kMiB, 0, 0, false, true, false, false, nullptr, nullptr},
    {"Glyph Lab", "com.glyphlab.fonts", "2.6", "G", 0xFFB58CFF, 0xFF7B3FE4, false, false, 3840 * kKiB, 3 * kMiB, 4 * kMiB, 0, 0, true, false, false, false, nullptr, nullptr},
    {"Harbor VPN", "com.harborvpn.client", "3.9.2", "H", 0xFF4DD0C8, 0xFF0F8C84, false, true, 2304 * kKiB, 1 * kMiB, 0, 0, 6 * kMiB, false, false, false, true, nullptr, nullptr},
    {"Inkwell", "com.inkwell.writer", "12.1", "I", 0xFF5C6677, 0xFF232A35, false, false, 3 * kMiB, 3 * kMiB, 2 * kMiB, 6 * kMiB, 0, true, false, true, false, nullptr, nullptr},
    {"Juniper Terminal", "dev.juniper.terminal", "1.12.0", ">_", 0xFF3A3F4B, 0xFF111318, false, false, 2 * kMiB, 1 * kMiB, 1 * kMiB, 0, 0, true, false, false, false, "juniper", "juniper"},
    {"Kite Browser", "com.kite.browser", "124.0", "K", 0xFFFFB15E, 0xFFE8590C, false, true, 15 * kMiB, 7 * kMiB, 34 * kMiB, 0, 2 * kMiB, true, true, true, true, nullptr, nullptr},
    {"Lumen Photo", "com.lumen.photo", "6.0.3", "L", 0xFFFFE08A, 0xFFFF9F1C, false, false, 7 * kMiB, 12 * kMiB, 3 * kMiB, 0, 0, true, false, false, false, nullptr, nullptr},
    {"Meridian Calendar", "com.meridian.calendar", "2.2.2", "31", 0xFFFF7B7B, 0xFFE03131, false, true, 1536 * kKiB, 3 * kMiB, 1 * kMiB, 2 * kMiB, 0, true, false, false, true, nullptr, nullptr},
    {"Nimbus Drive", "io.nimbus.drive", "8.4.0", "N", 0xFF7CC4FF, 0xFF2F80ED, false, false, 4608 * kKiB, 5 * kMiB, 2 * kMiB, 0, 4 * kMiB, false, true, false, true, nullptr, nullptr},
    {"Orbit Chat", "chat.orbit.desktop", "4.36.140", "O", 0xFF9B7CF6, 0xFF5B3CC4, false, true, 11776 * kKiB, 6 * kMiB, 12 * kMiB, 0, 3 * kMiB, true, true, true, false, nullptr, nullptr},
    {"Paperboat", "app.paperboat.todo", "3.1", "P", 0xFF6CD4FF, 0xFF1C9AD6, true, false, 640 * kKiB, 800 * kKiB, 0, 3 * kMiB, 0, true, false, false, false, nullptr, nullptr},
    {"Quill", "com.quill.markdown", "2.9.1", "Q", 0xFFEDEFF3, 0xFFB8BEC9, false, false, 1408 * kKiB, 2 * kMiB, 0, 0, 0, true, false, false, false, nullptr, "quill"},
    {"Relay FTP", nullptr, "5.7", "R", 0xFF8BD3A3, 0xFF2F9E5B, false, false, 1 * kMiB, 0, 0, 0, 0, false, false, false, false, nullptr, nullptr},
    {"Sable Music", "com.sable.music", "1.2.39", "S", 0xFF2B2B2B, 0xFF000000, false, true, 9472 * kKiB, 4 * kMiB, 16 * kMiB, 0, 1 * kMiB, true, true, false, false, nullptr, nullptr},
    {"Tandem", "com.tandem.remote", "10.2.0", "T", 0xFF5FD0FF, 0xFF0A84FF, false, false, 3456 * kKiB, 4 * kMiB, 2 * kMiB, 0, 7 * kMiB, false, false, false, true, nullptr, nullptr},
    {"Umbra Player", "org.umbra.player", "3.0.20", "U", 0xFFFFA94D, 0xFFD9480F, false, false, 5632 * kKiB, 1 * kMiB, 0, 0, 0, true, false, false, false, nullptr, nullptr},
    {"Vector Sketch", "com.vectorsketch.app", "99.4", "V", 0xFFFFC94D, 0xFFF08C00, false, true, 7424 * kKiB, 4 * kMiB, 2 * kMiB, 0, 0, true, false, false, false, nullptr, nullptr},
    {"Wavelength", "fm.wavelength.podcasts", "2.8", "W", 0xFFD0A2FF, 0xFF9C36B5, true, false, 896 * kKiB, 3 * kMiB, 5 * kMiB, 0, 0, true, true, false, false, nullptr, nullptr},
    {"Zephyr Weather", "com.zephyr.weather", "1.5.2", "Z", 0xFF9AD0FF, 0xFF4C9DEB, false, true, 512 * kKiB, 600 * kKiB, 1 * kMiB, 1 * kMiB, 0, true, false, false, false, nullptr, nullptr},
};
// clang-format on

class Applications : public Part
{
public:
    using Part::Part;

    void build() const
    {
        const QString userApps = s.homePath(QStringLiteral("Applications"));
        const QString systemApps = s.systemPath(QStringLiteral("/Applications"));
        for (const DemoApp &app : kApps)
            addApp(app, app.userFolder ? userApps : systemApps);
    }

private:
    static QImage appIcon(const DemoApp &app, int side)
    {
        QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        const QRectF tile(side * 0.09, side * 0.09, side * 0.82, side * 0.82);
        QPainterPath shape;
        shape.addRoundedRect(tile, side * 0.19, side * 0.19);
        // A soft drop shadow under the tile.
        for (int i = 4; i >= 1; --i) {
            QPainterPath shadow;
            shadow.addRoundedRect(tile.translated(0, side * 0.012 * i), side * 0.19, side * 0.19);
            p.fillPath(shadow, QColor(0, 0, 0, 10));
        }
        QLinearGradient fill(tile.topLeft(), tile.bottomLeft());
        fill.setColorAt(0, QColor::fromRgba(app.top));
        fill.setColorAt(1, QColor::fromRgba(app.bottom));
        p.fillPath(shape, fill);
        QLinearGradient gloss(tile.topLeft(), QPointF(tile.left(), tile.center().y()));
        gloss.setColorAt(0, QColor(255, 255, 255, 70));
        gloss.setColorAt(1, QColor(255, 255, 255, 0));
        p.fillPath(shape, gloss);

        const bool light = QColor::fromRgba(app.top).lightness() > 200;
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setBold(true);
        const QString glyph = QString::fromUtf8(app.glyph);
        font.setPixelSize(int(side * (glyph.size() > 1 ? 0.30 : 0.42)));
        p.setFont(font);
        p.setPen(QColor(0, 0, 0, 45));
        p.drawText(tile.translated(0, side * 0.012), Qt::AlignCenter, glyph);
        p.setPen(light ? QColor(0x33, 0x3A, 0x45) : QColor(Qt::white));
        p.drawText(tile, Qt::AlignCenter, glyph);
        return image;
    }

    void addApp(const DemoApp &app, const QString &folder) const
    {
        const QString name = QString::fromUtf8(app.name);
        const QString id = app.identifier ? QString::fromUtf8(app.identifier) : QString();
        const QString executable = QString(name).remove(QLatin1Char(' '));
        QVariantMap keys{
            {QStringLiteral("CFBundleName"), name},
            {QStringLiteral("CFBundleExecutable"), executable},
            {QStringLiteral("CFBundleShortVersionString"), QString::fromUtf8(app.version)},
            {QStringLiteral("CFBundlePackageType"), QStringLiteral("APPL")}};
        if (!id.isEmpty())
            keys.insert(QStringLiteral("CFBundleIdentifier"), id);
        if (app.glyph)
            keys.insert(QStringLiteral("CFBundleIconFile"), QStringLiteral("AppIcon"));
        const QString bundle = s.makeAppBundle(folder, name + QStringLiteral(".app"), keys,
                                               app.binaryPlist ? MachineFolder::PlistFormat::binary
                                                               : MachineFolder::PlistFormat::xml);
        file(bundle + QStringLiteral("/Contents/MacOS/") + executable, app.bundleSize * 3 / 4);
        folderOfSize(
            bundle + QStringLiteral("/Contents/Resources"), app.bundleSize / 4,
            {QStringLiteral("Assets.car"), QStringLiteral("en.lproj/Localizable.strings")});
        if (app.glyph) {
            QImageWriter writer(bundle + QStringLiteral("/Contents/Resources/AppIcon.icns"),
                                "icns");
            writer.write(appIcon(app, 256));
        }

        const QString lookup = id.isEmpty() ? name : id;
        const QVariantMap preferences{
            {QStringLiteral("NSWindowFrame"), QStringLiteral("120 80 1100 720")},
            {QStringLiteral("LastVersion"), QString::fromUtf8(app.version)},
            {QStringLiteral("LaunchCount"), 42},
            {QStringLiteral("AutomaticUpdates"), true}};
        if (!id.isEmpty()) {
            s.writeFile(
                s.homePath(QStringLiteral("Library/Preferences/") + id + QStringLiteral(".plist")),
                app.binaryPlist ? PlistWriter::binary(preferences) : PlistWriter::xml(preferences));
        }
        if (app.supportSize > 0) {
            folderOfSize(s.homePath(QStringLiteral("Library/Application Support/") + name),
                         app.supportSize,
                         {QStringLiteral("Library.db"), QStringLiteral("Library.db-wal"),
                          QStringLiteral("Settings.json")});
        }
        if (app.cacheSize > 0) {
            folderOfSize(s.homePath(QStringLiteral("Library/Caches/") + lookup), app.cacheSize,
                         {QStringLiteral("Cache.db"), QStringLiteral("fsCachedData/8F2C1E"),
                          QStringLiteral("fsCachedData/A1B7D0")});
        }
        if (app.containerSize > 0) {
            folderOfSize(s.homePath(QStringLiteral("Library/Containers/") + lookup +
                                    QStringLiteral("/Data/Library")),
                         app.containerSize,
                         {QStringLiteral("Application Support/store.sqlite"),
                          QStringLiteral("Preferences/") + lookup + QStringLiteral(".plist")});
        }
        if (app.logSize > 0) {
            folderOfSize(s.homePath(QStringLiteral("Library/Logs/") + name), app.logSize,
                         {QStringLiteral("main.log"), QStringLiteral("main.old.log")});
        }
        if (app.savedState && !id.isEmpty()) {
            const QString state = s.homePath(QStringLiteral("Library/Saved Application State/") +
                                             id + QStringLiteral(".savedState"));
            s.writeFile(state + QStringLiteral("/windows.plist"),
                        PlistWriter::binary(QVariantMap{{QStringLiteral("NSWindowID"), 7}}));
            file(state + QStringLiteral("/data.data"), 24 * kKiB);
        }
        if (app.httpStorage && !id.isEmpty())
            file(s.homePath(QStringLiteral("Library/HTTPStorages/") + id +
                            QStringLiteral("/httpstorages.sqlite")),
                 96 * kKiB);
        if (app.webkit && !id.isEmpty())
            folderOfSize(s.homePath(QStringLiteral("Library/WebKit/") + id), 1400 * kKiB,
                         {QStringLiteral("WebsiteData/LocalStorage/https_app_0.localstorage"),
                          QStringLiteral("WebsiteData/IndexedDB/v1/data.sqlite3")});
        if (app.launchAgent && !id.isEmpty()) {
            const QVariantMap agent{{QStringLiteral("Label"), id + QStringLiteral(".helper")},
                                    {QStringLiteral("RunAtLoad"), true},
                                    {QStringLiteral("Program"),
                                     bundle + QStringLiteral("/Contents/MacOS/") + executable}};
            s.writeFile(s.homePath(QStringLiteral("Library/LaunchAgents/") + id +
                                   QStringLiteral(".helper.plist")),
                        PlistWriter::xml(agent));
        }
        if (app.dotFolder) {
            folderOfSize(s.homePath(QLatin1Char('.') + QString::fromUtf8(app.dotFolder)), 2 * kMiB,
                         {QStringLiteral("extensions/index.json"), QStringLiteral("argv.json")});
        }
        if (app.configFolder) {
            folderOfSize(
                s.homePath(QStringLiteral(".config/") + QString::fromUtf8(app.configFolder)),
                12 * kKiB, {QStringLiteral("settings.json")});
        }
    }
};

} // namespace

void addApplications(const MachineFolder &s, const MachineBuilder &m)
{
    Applications(s, m).build();
}

} // namespace sample
