#include "playback/AnimePlayer.h"

#include <algorithm>

#include "model/AnimeData.h"
#include "playback/SoundTable.h"

bool cAnimePlayer::play(unsigned rate, unsigned flags, cPlayerWindow* window)
{
    stop(false);
    timer_.setRate(rate);
    if (window)
        timer_.setTarget([window] { window->playTick(); });
    else
        timer_.setTarget(nullptr);
    if (!timer_.start())
        return false;

    window_ = window;
    flags_ = flags | PF_PLAYING;
    if ((rangeStart_ >= 0 && current_ < rangeStart_) || (rangeEnd_ >= 0 && current_ >= rangeEnd_))
        goToFrame(rangeStart_);
    else
        goToFrame(current_);
    if ((flags_ & PF_SOUND) && sounds_ && project_)
        sounds_->loadSounds(*project_);
    finished_ = false;
    cellsCleared_ = false;
    return true;
}

void cAnimePlayer::stop(bool reset)
{
    timer_.stop();
    if (sounds_)
        sounds_->stopAll();
    const bool wasPlaying = isPlaying();
    if (reset) {
        current_ = -1;
        wait_ = 0;
        flags_ &= ~(PF_PLAYING | PF_BACKWARD);
    } else if (wasPlaying) {
        wait_ = project_ ? project_->GetValue(AI_BASE_INTERVAL) : 0;
        flags_ &= ~PF_PLAYING;
    }
    if ((flags_ & PF_RELOAD_SOUNDS) && sounds_)
        sounds_->releaseAll();
    if (wasPlaying && window_) {
        cPlayerWindow* window = window_;
        window_ = nullptr;
        window->playStopped();
    }
}

void cAnimePlayer::goToFrame(int frame)
{
    if (!project_)
        return;
    wait_ = project_->GetValue(AI_BASE_INTERVAL);
    if (frame >= -1 && frame < project_->GetValue(AI_FRAMES))
        current_ = frame;
    nextEffect_ = firstEffectFrom(current_);
    finished_ = false;
}

void cAnimePlayer::setRange(int start, int end)
{
    rangeStart_ = start < 0 ? -1 : start;
    rangeEnd_ = end < 0 ? -1 : end;
}

void cAnimePlayer::setOptions(unsigned options)
{
    const unsigned internal = PF_PLAYING | PF_BACKWARD;
    const bool reloadOn = (options & PF_RELOAD_SOUNDS) && !(flags_ & PF_RELOAD_SOUNDS);
    flags_ = (flags_ & internal) | (options & ~internal);
    if (reloadOn && sounds_)
        sounds_->releaseAll();
}

void cAnimePlayer::resetFlashes()
{
    screenFlash_.clear();
    targetFlash_.clear();
}

bool cAnimePlayer::advance()
{
    if (!project_ || !isPlaying())
        return false;

    const int last = project_->GetValue(AI_FRAMES) - 1;
    // Flashes fade per tick, also while a frame waits and after the last frame.
    const bool screenActive = screenFlash_.step();
    const bool targetActive = targetFlash_.step();
    const bool sounding = sounds_ && sounds_->anyPlaying();

    if (finished_) {
        if (!screenActive && !targetActive && !sounding)
            stop(false);
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
                finish();
                return false;
            }
            // The next forward pass fires the effects again from here.
            nextEffect_ = firstEffectFrom(current_);
        }
    } else if (e >= last || (rangeEnd_ >= 0 && e >= rangeEnd_)) {
        if (flags_ & PF_BOUNCE) {
            flags_ |= PF_BACKWARD;
        } else if (!(flags_ & PF_LOOP)) {
            finish();
            return false;
        } else {
            current_ = rangeStart_ >= 0 ? rangeStart_ - 1 : -1;
            // Effects from the frame the pass starts with; none from before the range.
            nextEffect_ = firstEffectFrom(current_ + 1);
        }
    }

    current_ += (flags_ & PF_BACKWARD) ? -1 : 1;

    if (!(flags_ & PF_BACKWARD)) {
        const int end = effectEnd();
        while (nextEffect_ < end) {
            const strEffect* effect = project_->GetEffect(nextEffect_);
            if (effect && effect->frame > current_)
                break;
            if (effect)
                fire(nextEffect_, *effect);
            ++nextEffect_;
        }
    }

    current_ = std::max(0, std::min(current_, last));
    wait_ = project_->EffectiveInterval(current_, true);
    return current_ != before;
}

void cAnimePlayer::finish()
{
    finished_ = true;
    cellsCleared_ = (flags_ & PF_CLEAR_CELLS) != 0;
}

int cAnimePlayer::effectEnd() const
{
    // Effects occupy a dense prefix of their slots.
    return project_ ? project_->GetValue(AI_EFFECTS) : 0;
}

int cAnimePlayer::firstEffectFrom(int frame) const
{
    // Effects are sorted by frame.
    const int end = effectEnd();
    for (int i = 0; i < end; ++i) {
        const strEffect* effect = project_->GetEffect(i);
        if (effect && effect->frame >= frame)
            return i;
    }
    return end;
}

void cAnimePlayer::fire(int index, const strEffect& effect)
{
    if (fireListener_)
        fireListener_(index);
    if (flags_ & PF_FLASH)
        StartEffectFlash(effect, screenFlash_, targetFlash_);
    if ((flags_ & PF_SOUND) && (effect.flags & EF_SOUND) && sounds_)
        sounds_->playEffect(effect);
}

bool RunPlayCommand(cAnimePlayer& player, int startFrame, int rangeStart, int rangeEnd, cPlayerWindow* window,
                    unsigned playBit, int playRate)
{
    if (player.isPlaying()) {
        player.stop(false);
        return false;
    }
    const unsigned flags = playBit & ~unsigned(PF_PLAYING | PF_BACKWARD);
    if (flags & PF_WHOLE)
        player.setRange(-1, -1);
    else
        player.setRange(rangeStart, rangeEnd);
    player.goToFrame(startFrame);
    if (player.play(PlayRateFromSetting(playRate), flags, window))
        return true;
    player.stop(true);
    return false;
}
