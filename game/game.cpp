// SPDX-License-Identifier: GPL-3.0-or-later
#include "game.h"

#include "board.h"
#include "narration.h"

#include <cmath>

namespace tavlo {

constexpr const char* kTurnAtStart = "'s Turn";
constexpr const char* kTurnAfterRoll = "'s  Turn"; // two blanks after a roll, one at the start
constexpr const char* kWins = "  Wins";

PlayerFields fieldsOf(GameState& s, int n) {
    switch (n) {
    case 2:
        return {s.movetotalcountp2, s.movecurrentcountp2, s.tokenrectp2};
    case 3:
        return {s.movetotalcountp3, s.movecurrentcountp3, s.tokenrectp3};
    case 4:
        return {s.movetotalcountp4, s.movecurrentcountp4, s.tokenrectp4};
    default:
        return {s.movetotalcountp1, s.movecurrentcountp1, s.tokenrectp1};
    }
}

Game::Game(Window& window, RandomSource& random)
    : window_(window), random_(random), common_(window, random) {}

void Game::selectOption(Control option) {
    if (!window_.selectOption(option))
        return;
    if (option == Control::player2)
        player2_Click();
    else if (option == Control::player3)
        player3_Click();
    else if (option == Control::player4)
        player4_Click();
}

void Game::Form_Load() {
    for (Control c : {Control::frmmain, Control::frameplayername, Control::frameselectnoofplayer,
                      Control::player2, Control::player3, Control::player4, Control::picdice})
        window_.perform(op::SetBackColor{c, kNavy});
    for (Control c : {Control::player2, Control::player3, Control::player4})
        window_.perform(op::SetForeColor{c, kWhite});
    window_.perform(op::SetBackColor{Control::lblcurrentplayer, kNavy});
    state_.diceframe = 1;
    window_.perform(op::DrawBoard{});
    window_.perform(op::SetPicture{Control::picdice, ImageList::ImageList2, kRestingDie});
    window_.perform(op::News{narrateTurn(startTwoPlayerGame(false)), false});
}

std::string Game::startTwoPlayerGame(bool newGame) {
    for (const PlayerBinding& p : kPlayers)
        window_.perform(op::SetPicture{p.startToken, ImageList::ImageList1, p.cookie});
    if (!newGame)
        for (const PlayerBinding& p : kPlayers)
            window_.perform(op::SetPicture{p.legendToken, ImageList::ImageList1, p.cookie});
    selectOption(Control::player2);
    state_.noofplayers = 2;
    const std::string first = window_.text(Control::txtplayer1name);
    window_.perform(op::SetCaption{Control::lblcurrentplayer, first + kTurnAtStart});
    for (int n = 1; n <= 4; ++n) {
        PlayerFields f = fieldsOf(state_, n);
        f.rect = player(n).startRect;
        if (!newGame)
            continue;
        // Parked just below the board, out of sight; they keep the last game's pictures.
        window_.perform(
            op::Move{player(n).boardToken, f.rect.Left, kBoardTwips, f.rect.Width, f.rect.Height});
        f.lastRoll = 0;
        f.square = 0;
    }
    state_.currentplayer = 1;
    window_.perform(op::SetForeColor{Control::lblcurrentplayer, player(1).turnColour});
    state_.playagain = kFalse;
    state_.gameover = kFalse;
    nameWaitingTokens();
    return tavlo::nameOrPlayerNumber(first, 1);
}

std::string Game::nameOrPlayerNumber(int n) const {
    return tavlo::nameOrPlayerNumber(window_.text(player(n).nameBox), n);
}

void Game::nameWaitingTokens() {
    for (int n = 1; n <= 4; ++n) {
        // The token of a player who takes no part has nothing to tell: it goes unnamed.
        if (n > state_.noofplayers)
            window_.perform(op::SetAccessibleName{player(n).boardToken, ""});
        else if (fieldsOf(state_, n).square == 0)
            window_.perform(op::SetAccessibleName{player(n).boardToken,
                                                  waitingTokenName(nameOrPlayerNumber(n))});
    }
}

void Game::stopRollAndFlash() {
    window_.perform(op::SetEnabled{Control::Timer2, false});
    window_.perform(op::SetEnabled{Control::Timer1, false});
    state_.rollticks = 0;
    state_.diceframe = 1;
    window_.perform(op::SetPicture{Control::picdice, ImageList::ImageList2, kRestingDie});
    window_.perform(op::SetMousePointer{MousePointer::Default});
}

void Game::cmdnewgame_Click() {
    // A roll of the old game must not go on to move a player of the new one, and a winner's
    // flash has nothing left to show once its label is hidden.
    stopRollAndFlash();
    common_.unlocksetup();
    common_.hideextratokens();
    window_.perform(op::SetVisible{Control::lblwinner, false});
    window_.perform(op::SetVisible{Control::imgstartp1, true});
    window_.perform(op::SetVisible{Control::imgstartp2, true});
    window_.perform(op::News{narrateNewGame(startTwoPlayerGame(true))});
}

void Game::cmdexit_Click() {
    window_.perform(op::Close{});
}

void Game::player2_Click() {
    state_.noofplayers = 2;
    common_.hideextratokens();
}

void Game::player3_Click() {
    common_.hideextratokens();
    state_.noofplayers = 3;
    window_.perform(op::SetVisible{Control::imgstartp3, true});
    selectOption(Control::player3);
}

void Game::player4_Click() {
    common_.hideextratokens();
    state_.noofplayers = 4;
    selectOption(Control::player4);
    window_.perform(op::SetVisible{Control::imgstartp3, true});
    window_.perform(op::SetVisible{Control::imgstartp4, true});
}

void Game::picdice_Click() {
    if (state_.gameover != 0) {
        // Nothing moves; a player who cannot see the winner label hears why.
        for (int n = 1; n <= state_.noofplayers; ++n)
            if (fieldsOf(state_, n).square >= kWinningSquare)
                window_.perform(op::News{narrateWin(nameOrPlayerNumber(n))});
        return;
    }
    state_.diceframe = 1;
    common_.locksetup();
    common_.shuffledice();
    window_.perform(op::SetEnabled{Control::Timer2, true});
    window_.perform(op::SetMousePointer{MousePointer::Busy});
    // The names are locked from here on: the tokens still waiting take them.
    nameWaitingTokens();
}

void Game::Timer2_Timer() {
    if (state_.diceframe == 7)
        state_.diceframe = 1;
    state_.dicevalue = common_.dicesequence(state_.diceframe);
    window_.perform(op::SetPicture{Control::picdice, ImageList::ImageList2, state_.dicevalue});
    ++state_.diceframe;
    ++state_.rollticks;
    if (state_.rollticks == kRollTicks)
        endRoll();
}

int Game::chooseMover() const {
    const std::int16_t c = state_.currentplayer;
    if (c == 2)
        return 2;
    if (c == 3 && state_.noofplayers >= 3)
        return 3;
    if (c == 4 && state_.noofplayers == 4)
        return 4;
    return 1;
}

void Game::endRoll() {
    window_.perform(op::SetEnabled{Control::Timer2, false});
    state_.diceframe = 1;
    state_.rollticks = 0;
    window_.perform(op::Pause{kStepPauseMs});

    const int mover = chooseMover();
    const PlayerBinding& p = player(mover);
    PlayerFields f = fieldsOf(state_, mover);
    f.lastRoll = state_.dicevalue;
    f.square = static_cast<std::int16_t>(f.square + state_.dicevalue);
    const std::int16_t landing = f.square;
    moveonboard(p.startToken, p.boardToken, f.rect.Left, f.rect.Top, f.rect.Width, f.rect.Height,
                f.square, f.lastRoll, p.cookie, p.nameBox);

    const int next = writeWhoseTurn(mover);
    advanceTurn();
    window_.perform(op::SetMousePointer{MousePointer::Default});
    narrateMove(mover, landing, next);
}

void Game::narrateMove(int mover, std::int16_t landing, int next) {
    MoveReport move;
    move.mover = nameOrPlayerNumber(mover);
    move.roll = state_.dicevalue;
    move.landing = landing;
    move.jump = jumpFrom(landing);
    move.next = next == mover ? move.mover : nameOrPlayerNumber(next);
    window_.perform(op::SetAccessibleName{player(mover).boardToken,
                                          tokenName(move.mover, fieldsOf(state_, mover).square)});
    window_.perform(op::News{tavlo::narrateMove(move)});
}

int Game::writeWhoseTurn(int mover) {
    const bool again = state_.playagain == kTrue;
    const int next = again ? mover : mover == state_.noofplayers ? 1 : mover + 1;
    if (!again)
        window_.perform(op::SetForeColor{Control::lblcurrentplayer, player(next).turnColour});
    state_.playagain = kFalse;
    window_.perform(op::SetCaption{Control::lblcurrentplayer,
                                   window_.text(player(next).nameBox) + kTurnAfterRoll});
    return next;
}

void Game::advanceTurn() {
    if (state_.currentplayer == state_.noofplayers &&
        (state_.noofplayers == 2 || state_.noofplayers == 3 || state_.noofplayers == 4))
        state_.currentplayer = 1;
    else
        ++state_.currentplayer;
}

void Game::Timer1_Timer() {
    const auto packed = static_cast<std::int32_t>(std::floor(random_.next() * kFlashColours));
    window_.perform(op::SetForeColor{Control::lblwinner, unpackColour(packed)});
}

void Game::moveonboard(Control imagestart, Control img, std::int16_t& m1, std::int16_t& m2,
                       std::int16_t& m3, std::int16_t& m4, std::int16_t& movetotalcountplayer,
                       std::int16_t& movecurrentcountplayer, std::int16_t cookie,
                       Control txtcurrentplayer) {
    const std::int16_t landing = movetotalcountplayer;
    const std::int16_t roll = movecurrentcountplayer;

    window_.perform(op::SetVisible{imagestart, false});
    window_.perform(op::SetPicture{img, ImageList::ImageList1, cookie});
    window_.perform(op::SetToolTip{img, window_.text(txtcurrentplayer)});

    // Past square 100 the rectangle carries on above the board's top edge; the token is shown
    // standing on square 100 instead, so the winner stays in sight.
    BoardPoint onHundred{m1, m2};
    for (std::int16_t s = static_cast<std::int16_t>(landing - roll + 1); s <= landing; ++s) {
        if (s <= kWinningSquare)
            onHundred = {m1, m2};
        window_.perform(op::Move{img, onHundred.left, onHundred.top, m3, m4});
        if (s % 10 == 0)
            m2 = static_cast<std::int16_t>(m2 - kSquareTwips);
        else if (rowOf(s) % 2 == 1)
            m1 = static_cast<std::int16_t>(m1 - kSquareTwips);
        else
            m1 = static_cast<std::int16_t>(m1 + kSquareTwips);
        window_.perform(op::Pause{kStepPauseMs});
    }

    if (const auto jump = jumpFrom(landing)) {
        const BoardPoint target = window_.labelPosition(jump->to);
        window_.perform(op::Move{img, target.left, target.top, m3, m4});
        const int step = rowOf(jump->to) % 2 == 0 ? kSquareTwips : -kSquareTwips;
        m1 = static_cast<std::int16_t>(target.left + step);
        m2 = target.top;
        for (int n = 1; n <= 4; ++n)
            if (player(n).cookie == cookie)
                fieldsOf(state_, n).square = jump->to;
        if (jump->isLadder()) {
            state_.playagain = kTrue;
            --state_.currentplayer;
        }
    }

    window_.perform(op::SetPicture{Control::picdice, ImageList::ImageList2, kRestingDie});

    if (landing >= kWinningSquare) {
        window_.perform(op::SetVisible{Control::lblwinner, true});
        window_.perform(op::SetBackColor{Control::lblwinner, kNavy});
        window_.perform(op::SetCaption{Control::lblwinner, window_.text(txtcurrentplayer) + kWins});
        window_.perform(op::SetEnabled{Control::Timer1, true});
        state_.gameover = kTrue;
    }
}

} // namespace tavlo
