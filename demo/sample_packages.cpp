// The packages of the sample machine: npm globals under the Homebrew prefix, Homebrew formulae
// and casks with what they keep around, and brew and npm stand-ins that really uninstall.

#include "demo/SampleParts.h"

namespace sample {

namespace {

class Packages : public Part
{
public:
    using Part::Part;

    void build() const
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
};

} // namespace

void addPackages(const MachineFolder &s, const MachineBuilder &m)
{
    const Packages packages(s, m);
    packages.build();
    packages.installPackageManagers();
}

} // namespace sample
