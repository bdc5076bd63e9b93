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
    thread.Job().SetRenderOptions(p.options);
    ASSERT_TRUE(thread.Job().Init(p.Path("s.png"), &p.project, &crop, 3, 0, kCapturePng | kCaptureCombine, 60, 1.0));
    ASSERT_TRUE(thread.Create([&](int code) {
        lastCode = code;
        ++notices;
    }));
    EXPECT_EQ(thread.Total(), 6);
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(thread.Count(), 0); // created suspended
    thread.Suspend(false);
    ASSERT_TRUE(waitFor([&] { return thread.Done() && !thread.IsActive(); }));
    EXPECT_EQ(thread.Count(), 6);
    EXPECT_TRUE(thread.Succeeded());
    EXPECT_EQ(notices, 1);
    EXPECT_EQ(lastCode, kMsgExportFinished);
    thread.Destroy();
    EXPECT_TRUE(fs::exists(p.Path("s.png")));
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
        Destroy(); // before the overriding OnStep goes away
    }
    void Release()
    {
        if (!released_) {
            released_ = true;
            release_.set_value();
        }
    }

protected:
    void OnStep() override
    {
        cThread_SaveGraph::OnStep();
        seen.emplace_back(Phase(), WorkDone());
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
    cHeldSaveGraph thread([](const cThread_SaveGraph& t) { return t.Count() == 3; });
    thread.Job().SetRenderOptions(p.options);
    ASSERT_TRUE(thread.Job().Init(p.Path("anim.png"), &p.project, &crop, 0, 0, kCapturePng, 60, 1.0));
    ASSERT_TRUE(thread.Create([&](int) { ++notices; }));
    std::future<void> third = thread.reached.get_future();
    thread.Suspend(false);
    ASSERT_EQ(third.wait_for(30s), std::future_status::ready);
    thread.Cancel();
    thread.Release();
    int made = thread.Count();
    EXPECT_EQ(made, 3);
    std::vector<fs::path> files = filesIn(p.dir.path);
    ASSERT_EQ(static_cast<int>(files.size()), made);
    ASSERT_TRUE(waitFor([&] { return !thread.IsActive(); }));
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(filesIn(p.dir.path), files); // nothing written after the cancel
    EXPECT_LT(made, 400);
    EXPECT_TRUE(thread.Cancelled());
    EXPECT_FALSE(thread.Done());
    EXPECT_EQ(notices, 0);
    for (int i = 0; i < made; ++i)
        EXPECT_EQ(files[static_cast<size_t>(i)], NumberedPath(p.Path("anim.png"), i));

    std::string out = RunPython(p.dir, "import glob\nfrom PIL import Image\n"
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
    thread->Job().SetRenderOptions(p.options);
    ASSERT_TRUE(thread->Job().Init(p.Path("g.gif"), &p.project, &crop, 0, 0, kCaptureGif, 60, 1.0));
    ASSERT_TRUE(thread->Create(nullptr));
    thread->Suspend(false);
    ASSERT_TRUE(waitFor([&] { return thread->Count() >= 1; }));
    thread.reset(); // joins the worker before the job goes away
    EXPECT_FALSE(fs::exists(p.Path("g.gif")));
}

TEST(SaveThread, GifProgressRunsThroughBothPhasesAndCancelLeavesNoFile)
{
    CaptureProject p(12);
    const strCaptureRect crop{-20, -20, 20, 20};
    cHeldSaveGraph thread([](const cThread_SaveGraph& t) { return t.FramesEncoded() == 2; });
    thread.Job().SetRenderOptions(p.options);
    ASSERT_TRUE(thread.Job().Init(p.Path("g.gif"), &p.project, &crop, 0, 0, kCaptureGif, 60, 1.0));
    ASSERT_TRUE(thread.Create(nullptr));
    EXPECT_EQ(thread.Total(), 12);
    EXPECT_EQ(thread.WorkTotal(), 24) << "images made, then frames encoded";
    std::future<void> reached = thread.reached.get_future();
    thread.Suspend(false);
    ASSERT_EQ(reached.wait_for(30s), std::future_status::ready);
    EXPECT_EQ(thread.Phase(), CP_ENCODE);
    EXPECT_EQ(thread.Count(), 12);
    EXPECT_EQ(thread.WorkDone(), 14);
    thread.Cancel();
    thread.Release();
    ASSERT_TRUE(waitFor([&] { return !thread.IsActive(); }));
    EXPECT_TRUE(thread.Cancelled());
    EXPECT_TRUE(filesIn(p.dir.path).empty()) << "neither the GIF nor its temporary file";
    // Work done grows by one per step, capture first.
    for (size_t i = 0; i < thread.seen.size(); ++i) {
        EXPECT_EQ(thread.seen[i].second, static_cast<int>(i) + 1);
        EXPECT_EQ(thread.seen[i].first, i < 12 ? CP_CAPTURE : CP_ENCODE) << i;
    }

    // Run to the end, the file appears only then.
    cThread_SaveGraph whole;
    whole.Job().SetRenderOptions(p.options);
    ASSERT_TRUE(whole.Job().Init(p.Path("g.gif"), &p.project, &crop, 0, 0, kCaptureGif, 60, 1.0));
    ASSERT_TRUE(whole.Create(nullptr));
    whole.Suspend(false);
    ASSERT_TRUE(waitFor([&] { return whole.Done() && !whole.IsActive(); }));
    EXPECT_TRUE(whole.Succeeded());
    EXPECT_EQ(whole.WorkDone(), 24);
    EXPECT_EQ(filesIn(p.dir.path), std::vector<fs::path>{p.Path("g.gif")});
}
