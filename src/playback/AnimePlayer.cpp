#include "playback/AnimePlayer.h"

#include <algorithm>

#include "model/AnimeData.h"
#include "playback/SoundTable.h"

bool cAnimePlayer::Play(unsigned rate, unsigned flags, cPlayerWindow* window)
{
    Stop(false);
    timer_.SetRate(rate);
    if (window)
        timer_.SetTarget([window] { window->PlayTick(); });
    else
        timer_.SetTarget(nullptr);
    if (!timer_.Start())
        return false;

    window_ = window;
    flags_ = flags | PF_PLAYING;
    if ((rangeStart_ >= 0 && current_ < rangeStart_) || (rangeEnd_ >= 0 && current_ >= rangeEnd_))
        GoToFrame(rangeStart_);
    else
        GoToFrame(current_);
    if ((flags_ & PF_SOUND) && sounds_ && project_)
        sounds_->LoadSounds(*project_);
    finished_ = false;
    cellsCleared_ = false;
    return true;
}

void cAnimePlayer::Stop(bool reset)
{
    timer_.Stop();
    if (sounds_)
        sounds_->StopAll();
    const bool wasPlaying = IsPlaying();
    if (reset) {
        current_ = -1;
        wait_ = 0;
        flags_ &= ~(PF_PLAYING | PF_BACKWARD);
    } else if (wasPlaying) {
        wait_ = project_ ? project_->GetValue(AI_BASE_INTERVAL) : 0;
        flags_ &= ~PF_PLAYING;
    }
    if ((flags_ & PF_RELOAD_SOUNDS) && sounds_)
        sounds_->ReleaseAll();
    if (wasPlaying && window_) {
        cPlayerWindow* window = window_;
        window_ = nullptr;
        window->PlayStopped();
    }
}

void cAnimePlayer::GoToFrame(int frame)
{
    if (!project_)
        return;
    wait_ = project_->GetValue(AI_BASE_INTERVAL);
    if (frame >= -1 && frame < project_->GetValue(AI_FRAMES))
        current_ = frame;
    nextEffect_ = FirstEffectFrom(current_);
    finished_ = false;
}

void cAnimePlayer::SetRange(int start, int end)
{
    rangeStart_ = start < 0 ? -1 : start;
    rangeEnd_ = end < 0 ? -1 : end;
}

void cAnimePlayer::SetOptions(unsigned options)
{
    const unsigned internal = PF_PLAYING | PF_BACKWARD;
    const bool reloadOn = (options & PF_RELOAD_SOUNDS) && !(flags_ & PF_RELOAD_SOUNDS);
    flags_ = (flags_ & internal) | (options & ~internal);
    if (reloadOn && sounds_)
        sounds_->ReleaseAll();
}

void cAnimePlayer::ResetFlashes()
{
    screenFlash_.Clear();
    targetFlash_.Clear();
}

bool cAnimePlayer::Advance()
{
    if (!project_ || !IsPlaying())
        return false;

    const int last = project_->GetValue(AI_FRAMES) - 1;
    // Flashes fade per tick, also while a frame waits and after the last frame.
    const bool screenActive = screenFlash_.Step();
    const bool targetActive = targetFlash_.Step();
    const bool sounding = sounds_ && sounds_->AnyPlaying();

    if (finished_) {
        if (!screenActive && !targetActive && !sounding)
            Stop(false);
        return false;
    }
    if (wait_ > 0)
        --wait_;
    if (wait_ >= 1)
        return false;

    const int before = current_;
    const int e = current_;
    if (flags_ & PF_BACKWARD) {
        if (e < 1 || (rangeStart_ >= 0 && rangeStart_ >= e)) {
            flags_ &= ~PF_BACKWARD;
            if (!(flags_ & PF_LOOP)) {
                Finish();
                return false;
            }
            // The next forward pass fires the effects again from here.
            nextEffect_ = FirstEffectFrom(current_);
        }
    } else if (e >= last || (rangeEnd_ >= 0 && e >= rangeEnd_)) {
        if (flags_ & PF_BOUNCE) {
            flags_ |= PF_BACKWARD;
        } else if (!(flags_ & PF_LOOP)) {
            Finish();
            return false;
        } else {
            current_ = rangeStart_ >= 0 ? rangeStart_ - 1 : -1;
            // Effects from the frame the pass starts with; none from before the range.
            nextEffect_ = FirstEffectFrom(current_ + 1);
        }
    }

    current_ += (flags_ & PF_BACKWARD) ? -1 : 1;

    if (!(flags_ & PF_BACKWARD)) {
        const int end = EffectEnd();
        while (nextEffect_ < end) {
            const strEffect* effect = project_->GetEffect(nextEffect_);
            if (effect && effect->frame > current_)
                break;
            if (effect)
                Fire(nextEffect_, *effect);
            ++nextEffect_;
        }
    }

    current_ = std::max(0, std::min(current_, last));
    wait_ = project_->EffectiveInterval(current_, true);
    return current_ != before;
}

void cAnimePlayer::Finish()
{
    finished_ = true;
    cellsCleared_ = (flags_ & PF_CLEAR_CELLS) != 0;
}

int cAnimePlayer::EffectEnd() const
{
    // Effects occupy a dense prefix of their slots.
    return project_ ? project_->GetValue(AI_EFFECTS) : 0;
}

int cAnimePlayer::FirstEffectFrom(int frame) const
{
    // Effects are sorted by frame.
    const int end = EffectEnd();
    for (int i = 0; i < end; ++i) {
        const strEffect* effect = project_->GetEffect(i);
        if (effect && effect->frame >= frame)
            return i;
    }
    return end;
}

void cAnimePlayer::Fire(int index, const strEffect& effect)
{
    if (fireListener_)
        fireListener_(index);
    if (flags_ & PF_FLASH)
        StartEffectFlash(effect, screenFlash_, targetFlash_);
    if ((flags_ & PF_SOUND) && (effect.flags & EF_SOUND) && sounds_)
        sounds_->PlayEffect(effect);
}

bool RunPlayCommand(cAnimePlayer& player, int startFrame, int rangeStart, int rangeEnd, cPlayerWindow* window,
                    unsigned playBit, int playRate)
{
    if (player.IsPlaying()) {
        player.Stop(false);
        return false;
    }
    const unsigned flags = playBit & ~unsigned(PF_PLAYING | PF_BACKWARD);
    if (flags & PF_WHOLE)
        player.SetRange(-1, -1);
    else
        player.SetRange(rangeStart, rangeEnd);
    player.GoToFrame(startFrame);
    if (player.Play(PlayRateFromSetting(playRate), flags, window))
        return true;
    player.Stop(true);
    return false;
}
