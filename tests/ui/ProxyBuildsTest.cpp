// The main window builds the preview proxies of the clips loaded into it, in
// the background through vistrel-render, shows the progress in the menu
// bar's corner, and the angle preview then shows the same frames.

#include "ui/ProxyBuilds.h"
#include "ui/WindowTestKit.h"

#include <QLabel>
#include <QMenuBar>

namespace vistrel::ui::testing {
namespace {

class ProxyBuildsTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        std::string reason;
        clips_ = generatedClips({"ui-angle-a", "ui-angle-b"}, reason);
        if (clips_.empty()) GTEST_SKIP() << reason;
        // The player and the builder both keep proxies under the cache folder: a private one.
        savedCache_ = qgetenv("XDG_CACHE_HOME");
        qputenv("XDG_CACHE_HOME", cache_.path().toUtf8());
        createWindow(std::nullopt, true);
    }
    void TearDown() override {
        MainWindowTest::TearDown();
        qputenv("XDG_CACHE_HOME", savedCache_);
    }

    std::vector<std::filesystem::path> clips_;
    QTemporaryDir cache_;
    QByteArray savedCache_;
};

TEST_F(ProxyBuildsTest, LoadedClipsGetProxiesWithProgressInTheMenuBarAndThePreviewKeepsItsFrames) {
    ProxyBuilds* builds = window().proxyBuilds();
    ASSERT_NE(builds, nullptr);
    QStringList statuses;
    QObject::connect(builds, &ProxyBuilds::statusChanged, [&statuses](const QString& s) { statuses.append(s); });
    auto* label = qobject_cast<QLabel*>(window().menu().bar->cornerWidget(Qt::TopRightCorner));
    ASSERT_NE(label, nullptr);
    const QRect clientArea = window().clientArea().geometry();

    loadClip(clips_[0]);
    loadClip(clips_[1]);
    QTRY_VERIFY_WITH_TIMEOUT(!builds->busy(), 180000);
    EXPECT_EQ(label->text(), QStringLiteral("proxies ready")) << builds->failures().toStdString();
    const QString a = QString::fromStdString(clips_[0].filename().string());
    const QString b = QString::fromStdString(clips_[1].filename().string());
    for (const QString& status :
         {"proxy: " + a + " 0%", "proxy: " + a + " 100% (1 more)", "proxy: " + b + " 0%", "proxy: " + b + " 100%"})
        EXPECT_TRUE(statuses.contains(status)) << status.toStdString() << " in " << statuses.join(u'|').toStdString();
    EXPECT_EQ(window().clientArea().geometry(), clientArea);
    const QDir proxies(cache_.filePath(QStringLiteral("vistrel/proxy")));
    EXPECT_EQ(proxies.entryList({QStringLiteral("*.proxy")}, QDir::Files).size(), 2);

    click("Command1");
    ASSERT_TRUE(waitUntilOpened(player()));
    ASSERT_TRUE(player().isOpen()) << player().errorMessage().toStdString();
    QTest::keyClick(&player(), Qt::Key_Left);  // pauses
    QTest::keyClick(&player(), Qt::Key_Home);
    for (int i = 0; i < 30; ++i) QTest::keyClick(&player(), Qt::Key_PageDown);
    ASSERT_TRUE(waitUntilShown(player()));
    ASSERT_EQ(player().position(), 300);
    EXPECT_EQ(shownColumnIndex(player(), 0), 300);
    EXPECT_EQ(shownColumnIndex(player(), 1), 300);
}

}  // namespace
}  // namespace vistrel::ui::testing
