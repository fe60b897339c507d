// Builds the sample machine that `make demo` and `make screenshots` open Verlo over: a home
// folder and a system root with a few dozen applications (real XML and binary property lists,
// real .icns icons) and their leftovers, npm globals, Homebrew formulae and casks, download
// caches, developer data, a device backup, container data, caches and logs, and stand-in
// scripts for brew, npm, which and tmutil; and its Linux half (sample_linux.cpp): desktop
// applications of every kind, Flatpak and Snap data, XDG leftovers and Linux system data; and
// its toolchains (sample_toolchains.cpp). brew, npm, flatpak, snap, rustup and pyenv really
// uninstall: they remove the package's files inside this machine and nowhere else.
//
// Usage: verlo_demo_machine <folder> [<home> <root>]
// The home is <folder>/home/user and the system root <folder>/root unless both are given (the
// screenshots give short ones). The machine is built once: when <folder>/machine.env exists (it
// is written last) nothing is done. That file holds VERLO_DEMO_HOME=... and VERLO_DEMO_ROOT=...
// for a shell to source.

#include "demo/MachineBuilder.h"
#include "demo/MachineFolder.h"
#include "demo/PlistWriter.h"
#include "model/ShellQuoting.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>

#include <cstdio>

bool addLinuxHalf(const MachineFolder &s, const MachineBuilder &m);  // sample_linux.cpp
bool addToolchains(const MachineFolder &s, const MachineBuilder &m); // sample_toolchains.cpp

namespace {

constexpr qint64 kMiB = 1024 * 1024;
constexpr qint64 kKiB = 1024;

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

class DemoBuilder
{
public:
    DemoBuilder(const MachineFolder &folder, const MachineBuilder &machine) : s(folder), m(machine)
    {}

    bool build()
    {
        const QString userApps = s.homePath(QStringLiteral("Applications"));
        const QString systemApps = s.systemPath(QStringLiteral("/Applications"));
        for (const DemoApp &app : kApps)
            addApp(app, app.userFolder ? userApps : systemApps);
        addPackages();
        return addSystemData();
    }

private:
    QString file(const QString &path, qint64 size) const { return s.writeFileOfSize(path, size); }

    // A folder holding about total bytes in a few files of believable names.
    void folderOfSize(const QString &folder, qint64 total, const QStringList &names) const
    {
        s.makeDir(folder);
        if (total <= 0 || names.isEmpty())
            return;
        qint64 left = total;
        for (int i = 0; i < names.size(); ++i) {
            const qint64 part = i == names.size() - 1 ? left : left * 6 / 10;
            file(folder + QLatin1Char('/') + names.at(i), qMax<qint64>(part, 512));
            left -= part;
        }
    }

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

    void addPackages() const
    {
        // npm globals under the Homebrew prefix, with their caches and settings.
        const QString modules = s.systemPath(MachineBuilder::homebrewNodeModules());
        const QList<QPair<QString, QString>> npmPackages = {
            {QStringLiteral("typescript"), QStringLiteral("5.4.5")},
            {QStringLiteral("prettier"), QStringLiteral("3.2.5")},
            {QStringLiteral("eslint"), QStringLiteral("8.57.0")},
            {QStringLiteral("nodemon"), QStringLiteral("3.1.0")},
            {QStringLiteral("pnpm"), QStringLiteral("9.0.6")},
            {QStringLiteral("npm-check-updates"), QStringLiteral("16.14.20")},
            {QStringLiteral("serve"), QStringLiteral("14.2.3")},
            {QStringLiteral("vercel"), QStringLiteral("34.1.7")},
            {QStringLiteral("http-server"), QStringLiteral("14.1.1")},
            {QStringLiteral("corepack"), QStringLiteral("0.28.0")},
            {QStringLiteral("npm"), QStringLiteral("10.5.2")},
        };
        qint64 weight = 3;
        for (const auto &[name, version] : npmPackages) {
            const QString package = m.addNPMPackage(modules, name, version);
            folderOfSize(package + QStringLiteral("/lib"), weight * 200 * kKiB,
                         {QStringLiteral("index.js"), QStringLiteral("cli.js")});
            weight = weight % 9 + 2;
        }
        m.addNPMPackageWithManifest(modules, QStringLiteral("left-pad"), std::nullopt);
        folderOfSize(s.homePath(QStringLiteral(".npm/_cacache/content-v2/sha512")), 18 * kMiB,
                     {QStringLiteral("3f/a1"), QStringLiteral("9c/0e"), QStringLiteral("d4/77")});
        folderOfSize(s.homePath(QStringLiteral(".npm/_logs")), 300 * kKiB,
                     {QStringLiteral("2026-03-12T09_14_02_118Z-debug-0.log")});
        folderOfSize(s.homePath(QStringLiteral(".npm/prettier")), 180 * kKiB,
                     {QStringLiteral("cache.json")});
        folderOfSize(s.homePath(QStringLiteral(".npm/eslint")), 90 * kKiB,
                     {QStringLiteral(".eslintcache")});
        folderOfSize(s.homePath(QStringLiteral(".config/prettier")), 4 * kKiB,
                     {QStringLiteral("config.json")});
        folderOfSize(s.homePath(QStringLiteral(".cache/typescript")), 3 * kMiB,
                     {QStringLiteral("5.4/node_modules.tgz")});
        folderOfSize(s.homePath(QStringLiteral(".local/share/pnpm")), 5 * kMiB,
                     {QStringLiteral("store/v3/files.idx")});
        folderOfSize(s.homePath(QStringLiteral(".vercel")), 40 * kKiB,
                     {QStringLiteral("auth.json")});

        // Homebrew: formulae asked for, dependencies, casks, and what they keep around.
        using Receipt = MachineBuilder::Receipt;
        struct Formula
        {
            QString name;
            QStringList versions;
            Receipt receipt;
            qint64 size;
        };
        const QList<Formula> formulae = {
            {QStringLiteral("wget"), {QStringLiteral("1.24.5")}, Receipt::onRequest, 1 * kMiB},
            {QStringLiteral("node"),
             {QStringLiteral("21.7.1"), QStringLiteral("22.1.0")},
             Receipt::onRequest,
             12 * kMiB},
            {QStringLiteral("git"), {QStringLiteral("2.44.0")}, Receipt::onRequest, 5 * kMiB},
            {QStringLiteral("ffmpeg"), {QStringLiteral("7.0")}, Receipt::onRequest, 14 * kMiB},
            {QStringLiteral("postgresql@16"),
             {QStringLiteral("16.2_1")},
             Receipt::onRequest,
             9 * kMiB},
            {QStringLiteral("redis"), {QStringLiteral("7.2.4")}, Receipt::onRequest, 1 * kMiB},
            {QStringLiteral("ripgrep"), {QStringLiteral("14.1.0")}, Receipt::onRequest, 2 * kMiB},
            {QStringLiteral("jq"), {QStringLiteral("1.7.1")}, Receipt::onRequest, 1 * kMiB},
            {QStringLiteral("htop"), {QStringLiteral("3.3.0")}, Receipt::onRequest, 512 * kKiB},
            {QStringLiteral("openssl@3"),
             {QStringLiteral("3.3.0")},
             Receipt::asDependency,
             3 * kMiB},
            {QStringLiteral("libidn2"), {QStringLiteral("2.3.7")}, Receipt::asDependency, 1 * kMiB},
            {QStringLiteral("icu4c"), {QStringLiteral("74.2")}, Receipt::asDependency, 10 * kMiB},
        };
        for (const Formula &formula : formulae) {
            QList<MachineBuilder::FormulaVersion> versions;
            for (const QString &version : formula.versions)
                versions.append({version, formula.receipt});
            const QString folder = m.addFormula(formula.name, versions);
            for (const QString &version : formula.versions) {
                folderOfSize(folder + QLatin1Char('/') + version + QStringLiteral("/lib"),
                             formula.size / 2 / formula.versions.size(),
                             {QStringLiteral("lib") + formula.name.section(QLatin1Char('@'), 0, 0) +
                                  QStringLiteral(".dylib"),
                              QStringLiteral("pkgconfig/") + formula.name + QStringLiteral(".pc")});
            }
            s.makeSymlink(folder + QLatin1Char('/') + formula.versions.last(),
                          s.systemPath(QStringLiteral("/opt/homebrew/opt/")) + formula.name);
        }
        const QList<QPair<QString, QString>> casks = {
            {QStringLiteral("firefox"), QStringLiteral("125.0.3")},
            {QStringLiteral("visual-studio-code"), QStringLiteral("1.88.1")},
            {QStringLiteral("iterm2"), QStringLiteral("3.4.23")},
            {QStringLiteral("rectangle"), QStringLiteral("0.79")},
            {QStringLiteral("obsidian"), QStringLiteral("1.5.12")},
        };
        for (const auto &[name, version] : casks) {
            const QString cask = m.addCask(name, version);
            file(cask + QLatin1Char('/') + version + QStringLiteral("/") + name +
                     QStringLiteral(".zip"),
                 kMiB + name.size() * 100 * kKiB);
            s.makeDir(cask + QStringLiteral("/.metadata/") + version);
        }
        m.addHomebrewFile(QStringLiteral("etc/wgetrc"), 5 * kKiB);
        m.addHomebrewFile(QStringLiteral("etc/redis.conf"), 106 * kKiB);
        m.addHomebrewFile(QStringLiteral("etc/postgresql@16/postgresql.conf"), 30 * kKiB);
        m.addHomebrewFile(QStringLiteral("var/postgresql@16/base/16384/1259"), 8 * kMiB);
        m.addHomebrewFile(QStringLiteral("var/redis/dump.rdb"), 2 * kMiB);
        m.addHomebrewFile(QStringLiteral("var/log/wget.log"), 12 * kKiB);
        m.addHomebrewFile(QStringLiteral("var/log/postgresql@16.log"), 3 * kMiB);
        m.addHomebrewFile(QStringLiteral("var/log/redis.log"), 400 * kKiB);
        m.addHomebrewFile(QStringLiteral("share/wget/wgetrc.sample"), 3 * kKiB);
        m.addHomebrewFile(QStringLiteral("share/ffmpeg/ffprobe.xsd"), 40 * kKiB);
        m.addHomebrewFile(QStringLiteral("share/git/contrib/completion.bash"), 90 * kKiB);
        m.addHomebrewFile(QStringLiteral("Caches/node--22.1.0.arm64_sonoma.bottle.tar.gz"),
                          6 * kMiB);
        const QString userCache = s.homePath(QStringLiteral("Library/Caches/Homebrew"));
        file(userCache + QStringLiteral("/wget--1.24.5.arm64_sonoma.bottle.tar.gz"), 900 * kKiB);
        file(userCache + QStringLiteral("/ffmpeg--7.0.arm64_sonoma.bottle.tar.gz"), 3 * kMiB);
        file(userCache + QStringLiteral("/git--2.44.0.arm64_sonoma.bottle.tar.gz"), 2 * kMiB);
        file(userCache + QStringLiteral("/Cask/firefox--125.0.3.dmg"), 4 * kMiB);
        file(userCache + QStringLiteral("/Cask/obsidian--1.5.12.dmg"), 3 * kMiB);
        file(s.systemPath(
                 QStringLiteral("/Library/LaunchDaemons/homebrew.mxcl.postgresql@16.plist")),
             700);
        file(s.systemPath(QStringLiteral("/Library/LaunchDaemons/homebrew.mxcl.redis.plist")), 650);
    }

    // Developer data, a backup, container data, caches and logs: the System Data section shows
    // the categories from 100 MiB on and counts the others as hidden.
    bool addSystemData() const
    {
        bool exact = true;
        m.installXcode();
        m.installDocker();
        const auto folder = [&](const QString &relative, qint64 bytes) {
            exact = m.addHomeFolderOfSize(relative, bytes) && exact;
        };
        folder(QStringLiteral("Library/Developer/Xcode/DerivedData/Verlo-bqzfhxkcdwoyte"),
               64 * kMiB);
        folder(QStringLiteral("Library/Developer/Xcode/DerivedData/Weather-ahsjdkfqpwoeir"),
               40 * kMiB);
        folder(QStringLiteral("Library/Developer/Xcode/iOS DeviceSupport/iPhone15,3 17.4 (21E219)"),
               16 * kMiB);
        folder(
            QStringLiteral("Library/Developer/Xcode/watchOS DeviceSupport/Watch6,14 10.4 (21T216)"),
            6 * kMiB);
        folder(QStringLiteral(
                   "Library/Developer/CoreSimulator/Devices/6F1C2A34-1B2C-4D5E-8F90-A1B2C3D4E5F6"),
               6 * kMiB);
        folder(
            QStringLiteral(
                "Library/Developer/Xcode/Archives/2026-02-27/Weather 27-02-2026, 14.02.xcarchive"),
            8 * kMiB);
        m.addDeviceBackup(QStringLiteral("00008110-001A2B3C4D5E"),
                          MachineBuilder::BackupInfo::binary, QStringLiteral("iPhone 15 Pro"),
                          101 * kMiB, QDateTime(QDate(2026, 3, 14), QTime(12, 0)));
        folder(QStringLiteral("Library/Containers/com.docker.docker/Data/vms/0/data"), 70 * kMiB);
        folder(QStringLiteral(".orbstack/data"), 32 * kMiB);
        folder(QStringLiteral("Library/Logs/DiagnosticReports"), 2 * kMiB);
        folder(QStringLiteral("Library/Logs/Kite Browser/crashpad"), 3 * kMiB);

        m.installWhich({{QStringLiteral("brew"), QStringLiteral("/opt/homebrew/bin/brew")},
                        {QStringLiteral("npm"), QStringLiteral("/opt/homebrew/bin/npm")}});
        m.installTmutil("Snapshots for disk /:\n"
                        "com.apple.TimeMachine.2026-03-14-093012.local\n"
                        "com.apple.TimeMachine.2026-03-14-103044.local\n");
        installPackageManagers();
        return addLinuxHalf(s, m) && addToolchains(s, m) && exact;
    }

    // brew and npm stand-ins whose uninstall removes the package's folder inside this machine.
    // Names that could leave their folder are refused.
    void installPackageManagers() const
    {
        const QString prefix = s.systemPath(QStringLiteral("/opt/homebrew"));
        s.writeScript(
            s.systemPath(QStringLiteral("/opt/homebrew/bin/brew")),
            QStringLiteral("prefix=%1\n"
                           "[ \"$1\" = uninstall ] || { echo 'Homebrew 4.2.18 (Verlo demo "
                           "stand-in)'; exit 0; }\n"
                           "shift\n"
                           "store=Cellar\n"
                           "name=\n"
                           "for arg in \"$@\"; do\n"
                           "  case \"$arg\" in\n"
                           "    --cask) store=Caskroom ;;\n"
                           "    -*) ;;\n"
                           "    *) name=\"$arg\" ;;\n"
                           "  esac\n"
                           "done\n"
                           "case \"$name\" in\n"
                           "  ''|.|..|*/*) echo \"Error: invalid name: $name\" >&2; exit 1 ;;\n"
                           "esac\n"
                           "dir=\"$prefix/$store/$name\"\n"
                           "if [ ! -d \"$dir\" ]; then\n"
                           "  echo \"Error: No such keg: $dir\" >&2\n"
                           "  exit 1\n"
                           "fi\n"
                           "files=$(find \"$dir\" -type f | wc -l | tr -d ' ')\n"
                           "size=$(du -sh \"$dir\" | cut -f1)\n"
                           "rm -rf -- \"$dir\"\n"
                           "rm -f -- \"$prefix/opt/$name\"\n"
                           "if [ \"$store\" = Caskroom ]; then\n"
                           "  echo \"==> Uninstalling Cask $name\"\n"
                           "  echo \"==> Purging files for version of Cask $name\"\n"
                           "else\n"
                           "  echo \"Uninstalling $dir... ($files files, $size)\"\n"
                           "fi\n")
                .arg(shellQuoted(prefix)));
        s.writeScript(s.systemPath(QStringLiteral("/opt/homebrew/bin/npm")),
                      QStringLiteral("modules=%1\n"
                                     "case \"$1\" in\n"
                                     "  uninstall|remove|rm|un) ;;\n"
                                     "  -v|--version) echo 10.5.2; exit 0 ;;\n"
                                     "  *) echo 'npm 10.5.2 (Verlo demo stand-in)'; exit 0 ;;\n"
                                     "esac\n"
                                     "shift\n"
                                     "removed=0\n"
                                     "for arg in \"$@\"; do\n"
                                     "  case \"$arg\" in\n"
                                     "    -*) continue ;;\n"
                                     "    ''|.|..|*/../*|../*|*/..) echo \"npm error invalid "
                                     "package name: $arg\" >&2; exit 1 ;;\n"
                                     "  esac\n"
                                     "  if [ -d \"$modules/$arg\" ]; then\n"
                                     "    rm -rf -- \"$modules/$arg\"\n"
                                     "    removed=$((removed + 1))\n"
                                     "  fi\n"
                                     "done\n"
                                     "echo \"removed $removed package in 0.4s\"\n")
                          .arg(shellQuoted(s.systemPath(MachineBuilder::homebrewNodeModules()))));
    }

    const MachineFolder &s;
    const MachineBuilder &m;
};

int fail(const QString &message)
{
    std::fprintf(stderr, "verlo_demo_machine: %s\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    // Icons are drawn with QPainter and fonts; no screen is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 2 && arguments.size() != 4)
        return fail(QStringLiteral("usage: verlo_demo_machine <folder> [<home> <root>]"));

    const QString folder = QDir(arguments.at(1)).absolutePath();
    const bool placesGiven = arguments.size() == 4;
    const QString home =
        placesGiven ? QDir(arguments.at(2)).absolutePath() : folder + QStringLiteral("/home/user");
    const QString root =
        placesGiven ? QDir(arguments.at(3)).absolutePath() : folder + QStringLiteral("/root");
    const QString stamp = folder + QStringLiteral("/machine.env");
    if (QFileInfo::exists(stamp)) {
        std::printf("%s\n", qPrintable(stamp));
        return 0;
    }
    // A build that was interrupted left a partial machine: start again from nothing. A home and
    // root given elsewhere are never cleared: they must be empty.
    if (QFileInfo::exists(folder) && !QDir(folder).removeRecursively())
        return fail(QStringLiteral("cannot clear %1").arg(folder));
    for (const QString &place : {home, root}) {
        if (placesGiven && !QDir(place).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System |
                                                QDir::NoDotAndDotDot))
            return fail(QStringLiteral("%1 is not empty").arg(place));
    }
    if (!QDir().mkpath(folder))
        return fail(QStringLiteral("cannot create %1").arg(folder));

    MachineFolder sample(folder, home, root);
    if (!sample.isValid())
        return fail(QStringLiteral("cannot create the machine under %1").arg(folder));
    MachineBuilder machine(sample);
    DemoBuilder demo(sample, machine);
    if (!demo.build())
        std::fprintf(stderr, "verlo_demo_machine: some folders did not reach their exact size\n");

    QFile env(stamp);
    if (!env.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fail(QStringLiteral("cannot write %1").arg(stamp));
    QTextStream out(&env);
    out << "VERLO_DEMO_HOME=" << shellQuoted(sample.home()) << '\n'
        << "VERLO_DEMO_ROOT=" << shellQuoted(sample.root()) << '\n';
    out.flush();
    env.close();
    std::printf("%s\n", qPrintable(stamp));
    return 0;
}
