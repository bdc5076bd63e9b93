#include "support/GuiFixture.h"

#include <QTest>

#include <atomic>

namespace {

// The QApplication every GUI test needs, created before the first test runs.
class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "mevko_tests";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { app_.reset(); }

private:
    std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

} // namespace

void GuiTest::SetUp()
{
    static std::atomic<int> counter{0};
    dir = std::filesystem::temp_directory_path() /
          ("mevko_gui_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    Settings().SetDefaults();
    platform::SetSystemClipboard(&clipboard);
}

void GuiTest::TearDown()
{
    if (window) {
        messages.answers.assign(4, ANSWER_NO);
        window->close();
        window.reset();
    }
    platform::SetSystemClipboard(nullptr);
    std::filesystem::remove_all(dir);
}

cMainWnd& GuiTest::Start(const QStringList& arguments)
{
    window = std::make_unique<cMainWnd>(dir / "config.ini", &messages, &chooser);
    QString error;
    EXPECT_TRUE(window->Initialize(arguments, error)) << error.toStdString();
    window->show();
    QCoreApplication::processEvents();
    return *window;
}

std::filesystem::path GuiTest::Sample()
{
    return std::filesystem::path(MEVKO_SOURCE_DIR) / "examples" / "Data" / "sample.dat";
}
