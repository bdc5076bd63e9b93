// The export worker: progress, the finished notification, suspension and cancel.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <future>
#include <thread>

#include "CaptureFixture.h"
#include "export/ThreadSaveGraph.h"

using namespace exporttest;
using namespace std::chrono_literals;

namespace {

template <class Pred> bool waitFor(Pred pred)
{
    for (int i = 0; i < 2000 && !pred(); ++i)
        std::this_thread::sleep_for(5ms);
    return pred();
}

std::vector<fs::path> filesIn(const fs::path& dir)
{
    std::vector<fs::path> out;
    for (const auto& e : fs::directory_iterator(dir))
        if (e.path().filename() != "pic.png")
            out.push_back(e.path());
    std::sort(out.begin(), out.end());
    return out;
}

} // namespace

TEST(SaveThread, RunsTheJobAndNotifiesOnce)
{
    CaptureProject p(6);
    const strCaptureRect crop{-8, -8, 8, 8};
    std::atomic<int> notices{0}, lastCode{0};
    cThread_SaveGraph thread;
    thread.job().setRenderOptions(RenderOptionsOf(Settings()));
    ASSERT_TRUE(thread.job().init(p.path("s.png"), &p.project, &crop, 3, 0, kCapturePng | kCaptureCombine, 60, 1.0));
    ASSERT_TRUE(thread.create([&](int code) {
        lastCode = code;
        ++notices;
    }));
    EXPECT_EQ(thread.total(), 6);
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(thread.count(), 0); // created suspended
    thread.suspend(false);
    ASSERT_TRUE(waitFor([&] { return thread.done() && !thread.isActive(); }));
    EXPECT_EQ(thread.count(), 6);
    EXPECT_TRUE(thread.succeeded());
    EXPECT_EQ(notices, 1);
    EXPECT_EQ(lastCode, kMsgExportFinished);
    thread.destroy();
    EXPECT_TRUE(fs::exists(p.path("s.png")));
}

// Holds the worker after the step at which `holdWhen` first says so, until the test
// has cancelled, so the cancel always lands there however the threads are scheduled.
// Records the phase and work done after each step.
class cHeldSaveGraph : public cThread_SaveGraph {
public:
    explicit cHeldSaveGraph(std::function<bool(const cThread_SaveGraph&)> holdWhen) : holdWhen_(std::move(holdWhen)) {}
    std::promise<void> reached;
    std::vector<std::pair<int, int>> seen; // phase and work done after each step

    ~cHeldSaveGraph() override
    {
        Release();
        destroy(); // before the overriding onStep goes away
    }
    void Release()
    {
        if (!released_) {
            released_ = true;
            release_.set_value();
        }
    }

protected:
    void onStep() override
    {
        cThread_SaveGraph::onStep();
        seen.emplace_back(phase(), workDone());
        if (!held_ && holdWhen_(*this)) {
            held_ = true;
            reached.set_value();
            release_.get_future().wait();
        }
    }

private:
    std::function<bool(const cThread_SaveGraph&)> holdWhen_;
    std::promise<void> release_;
    bool held_ = false, released_ = false;
};

TEST(SaveThread, CancelStopsAtOnceAndLeavesWholeFiles)
{
    CaptureProject p(400);
    const strCaptureRect crop{-300, -200, 300, 200};
    std::atomic<int> notices{0};
    cHeldSaveGraph thread([](const cThread_SaveGraph& t) { return t.count() == 3; });
    thread.job().setRenderOptions(RenderOptionsOf(Settings()));
    ASSERT_TRUE(thread.job().init(p.path("anim.png"), &p.project, &crop, 0, 0, kCapturePng, 60, 1.0));
    ASSERT_TRUE(thread.create([&](int) { ++notices; }));
    std::future<void> third = thread.reached.get_future();
    thread.suspend(false);
    ASSERT_EQ(third.wait_for(30s), std::future_status::ready);
    thread.cancel();
    thread.Release();
    int made = thread.count();
    EXPECT_EQ(made, 3);
    std::vector<fs::path> files = filesIn(p.dir.path);
    ASSERT_EQ(static_cast<int>(files.size()), made);
    ASSERT_TRUE(waitFor([&] { return !thread.isActive(); }));
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(filesIn(p.dir.path), files); // nothing written after the cancel
    EXPECT_LT(made, 400);
    EXPECT_TRUE(thread.cancelled());
    EXPECT_FALSE(thread.done());
    EXPECT_EQ(notices, 0);
    for (int i = 0; i < made; ++i)
        EXPECT_EQ(files[static_cast<size_t>(i)], numberedPath(p.path("anim.png"), i));

    std::string out = runPython(p.dir, "import glob\nfrom PIL import Image\n"
                                       "for f in sorted(glob.glob('" +
                                           p.dir.path.string() +
                                           "/anim*.png')):\n"
                                           "    im = Image.open(f); im.load(); assert im.size == (600, 400), f\n"
                                           "print('ok')\n");
    EXPECT_EQ(out, "ok\n");
}

TEST(SaveThread, DestroyWhileRunningEndsTheLoop)
{
    CaptureProject p(300);
    const strCaptureRect crop{-100, -100, 100, 100};
    auto thread = std::make_unique<cThread_SaveGraph>();
    thread->job().setRenderOptions(RenderOptionsOf(Settings()));
    ASSERT_TRUE(thread->job().init(p.path("g.gif"), &p.project, &crop, 0, 0, kCaptureGif, 60, 1.0));
    ASSERT_TRUE(thread->create(nullptr));
    thread->suspend(false);
    ASSERT_TRUE(waitFor([&] { return thread->count() >= 1; }));
    thread.reset(); // joins the worker before the job goes away
    EXPECT_FALSE(fs::exists(p.path("g.gif")));
}

TEST(SaveThread, GifProgressRunsThroughBothPhasesAndCancelLeavesNoFile)
{
    CaptureProject p(12);
    const strCaptureRect crop{-20, -20, 20, 20};
    cHeldSaveGraph thread([](const cThread_SaveGraph& t) { return t.framesEncoded() == 2; });
    thread.job().setRenderOptions(RenderOptionsOf(Settings()));
    ASSERT_TRUE(thread.job().init(p.path("g.gif"), &p.project, &crop, 0, 0, kCaptureGif, 60, 1.0));
    ASSERT_TRUE(thread.create(nullptr));
    EXPECT_EQ(thread.total(), 12);
    EXPECT_EQ(thread.workTotal(), 24) << "images made, then frames encoded";
    std::future<void> reached = thread.reached.get_future();
    thread.suspend(false);
    ASSERT_EQ(reached.wait_for(30s), std::future_status::ready);
    EXPECT_EQ(thread.phase(), CP_ENCODE);
    EXPECT_EQ(thread.count(), 12);
    EXPECT_EQ(thread.workDone(), 14);
    thread.cancel();
    thread.Release();
    ASSERT_TRUE(waitFor([&] { return !thread.isActive(); }));
    EXPECT_TRUE(thread.cancelled());
    EXPECT_TRUE(filesIn(p.dir.path).empty()) << "neither the GIF nor its temporary file";
    // Work done grows by one per step, capture first.
    for (size_t i = 0; i < thread.seen.size(); ++i) {
        EXPECT_EQ(thread.seen[i].second, static_cast<int>(i) + 1);
        EXPECT_EQ(thread.seen[i].first, i < 12 ? CP_CAPTURE : CP_ENCODE) << i;
    }

    // Run to the end, the file appears only then.
    cThread_SaveGraph whole;
    whole.job().setRenderOptions(RenderOptionsOf(Settings()));
    ASSERT_TRUE(whole.job().init(p.path("g.gif"), &p.project, &crop, 0, 0, kCaptureGif, 60, 1.0));
    ASSERT_TRUE(whole.create(nullptr));
    whole.suspend(false);
    ASSERT_TRUE(waitFor([&] { return whole.done() && !whole.isActive(); }));
    EXPECT_TRUE(whole.succeeded());
    EXPECT_EQ(whole.workDone(), 24);
    EXPECT_EQ(filesIn(p.dir.path), std::vector<fs::path>{p.path("g.gif")});
}
