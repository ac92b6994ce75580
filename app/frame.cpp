#include "app/frame.h"

#include "app/menus.h"
#include "game/board.h"
#include "game/movement.h"
#include "game/scoring.h"
#include "gfx/playfield.h"
#include "gfx/video.h"
#include "gfx/wipe.h"
#include "input/input.h"
#include "input/key_map.h"
#include "platform/clock.h"
#include "timing/clock.h"

namespace korvane {

Image mainImage;
SoundId gameMusic = -1;
uint32_t lastInputTick = 0;
uint32_t lastGravityTick = 0;

namespace {

FrameObserver observer;

void StartNewGame() {
    ResetCounters();
    ClearBoard();
    SpawnPiece();
}

void RunMainMenuFrame() {
    switch (RunMainMenu()) {
        case MenuChoice::NewGame:
            StartNewGame();
            lastInputTick = NowMs();
            lastGravityTick = NowMs();
            screenState = ScreenState::Playing;
            break;
        case MenuChoice::OpenFileMenu:
            screenState = ScreenState::FileMenu;
            break;
        case MenuChoice::Resume:
            // The board, pieces, counters and both ticks stay as they were.
            screenState = ScreenState::Playing;
            break;
        case MenuChoice::Exit:
            VideoFill(videoDevice.backBuffer, 0, 0, 0);
            WipeTransition();
            screenState = ScreenState::Quit;
            break;
        default:
            break;
    }
}

void SampleKeys() {
    InputReadKeyboard();
    // Only the first key down acts: Escape before the arrows, Up before Down
    // before Left before Right.
    if (KeyDown(kKeyEscape)) {
        SoundStop(gameMusic);
        screenState = ScreenState::MainMenu;
    } else if (KeyDown(kKeyUp)) {
        RotatePiece();
    } else if (KeyDown(kKeyDown)) {
        MovePiece(MoveDown);
    } else if (KeyDown(kKeyLeft)) {
        MovePiece(MoveLeft);
    } else if (KeyDown(kKeyRight)) {
        MovePiece(MoveRight);
    }
}

// The gravity step and, after a landing, the rows and the next piece.
// Returns the number of rows removed.
uint32_t FallOneStep() {
    if (GravityStep() != 0) {
        return 0;
    }
    uint32_t rowsClearedThisFrame = 0;
    while (RemoveFullRow() == 1) {
        ++rowsClearedThisFrame;
    }
    if (SpawnPiece() == 0) {
        screenState = ScreenState::GameOver;
    }
    return rowsClearedThisFrame;
}

void RunPlayFrame() {
    if ((SoundStatus(gameMusic) & kStatusPlaying) == 0) {
        SoundPlay(gameMusic, kPlayLooping);
    }
    VideoCopyImage(videoDevice.backBuffer, mainImage, kScreenWidth, kScreenHeight, kScreenDepth);
    // Deliberate: the keys are a snapshot taken every 100 ms or more, with no
    // history, so a key pressed and released between two samples is never
    // seen and a held arrow acts once a sample.
    if (TickDue(NowMs(), lastInputTick, kInputIntervalMs)) {
        SampleKeys();
        lastInputTick = NowMs();
    }
    uint32_t rowsClearedThisFrame = 0;
    if (TickDue(NowMs(), lastGravityTick, kGravityIntervalMs)) {
        rowsClearedThisFrame = FallOneStep();
        lastGravityTick = NowMs();
    }
    AddScore(RowScore(rowsClearedThisFrame));
    DrawBoard();
    DrawPiece(0);
    DrawPiece(1);
    DrawHud();
    VideoFlip();
    if (IsGameWon() == 1) {
        screenState = ScreenState::Won;
    }
}

void RunGameEndFrame() {
    SoundStopAll();
    // The last play frame stays on the screen during the pause.
    platform::SleepMs(kGameEndPauseMs);
    StartNewGame();
    screenState = ScreenState::MainMenu;
}

}  // namespace

void ResetFrameState() {
    ImageFree(&mainImage);
    gameMusic = -1;
    lastInputTick = 0;
    lastGravityTick = 0;
}

int RunFrame() {
    if (observer.before != nullptr) {
        observer.before();
    }
    const ScreenState ranIn = screenState;
    ClockStamp start = 0;
    FrameStart(&start);
    switch (screenState) {
        case ScreenState::MainMenu:
            RunMainMenuFrame();
            break;
        case ScreenState::FileMenu:
            if (RunFileMenu() == MenuChoice::Back) {
                screenState = ScreenState::MainMenu;
            }
            break;
        case ScreenState::Playing:
            RunPlayFrame();
            break;
        case ScreenState::GameOver:
        case ScreenState::Won:
            RunGameEndFrame();
            break;
        case ScreenState::Starting:
        case ScreenState::Quit:
            break;
    }
    WaitSince(start, kFrameMs);
    if (observer.after != nullptr) {
        observer.after(ranIn);
    }
    return 1;
}

void SetFrameObserver(FrameObserver frameObserver) {
    observer = frameObserver;
}

}  // namespace korvane
