#include "game/Game.h"

#include <algorithm>

namespace {

constexpr std::int32_t kLocal = static_cast<std::int32_t>(PlayerKind::Local);
constexpr std::int32_t kNet = static_cast<std::int32_t>(PlayerKind::Net);

int OtherSide(int side) { return side == 1 ? 2 : 1; }

void Increment(std::int32_t* counter) {
  if (counter) ++*counter;
}
void Decrement(std::int32_t* counter) {
  if (counter && *counter > 0) --*counter;
}

}  // namespace

Game::Game() { NewGame(); }

template <typename Fn>
void Game::Tell(Fn fn) {
  // A listener may add or remove listeners while it is told (a window closing, say).
  const std::vector<GameListener*> listeners = listeners_;
  for (GameListener* listener : listeners)
    if (std::find(listeners_.begin(), listeners_.end(), listener) != listeners_.end()) fn(*listener);
}

void Game::AddListener(GameListener* listener) const {
  if (listener && std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end())
    listeners_.push_back(listener);
}

void Game::RemoveListener(GameListener* listener) const {
  listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

std::int32_t Game::Who(int side) const { return side == 1 ? who_[0] : side == 2 ? who_[1] : 0; }

bool Game::SideIsLocal(int side) const { return Who(side) == kLocal; }

bool Game::NetworkSide() const { return who_[0] == kNet || who_[1] == kNet; }

std::vector<_Rev> Game::Placements() const {
  const int count = std::clamp(board_.FKomaCount, 0, board_.FCols * board_.FRows);
  return {board_.FKomaList, board_.FKomaList + count};
}

std::optional<_Rev> Game::LastPlacement() const {
  for (auto it = moves_.rbegin(); it != moves_.rend(); ++it)
    if (!it->IsPass()) return it->move;
  return std::nullopt;
}

bool Game::IsLegal(const _Rev& move) const {
  return !over_ && move.value == board_.FTurn && board_.HaichiCheck(move);
}

PositionSnapshot Game::Snapshot() const {
  PositionSnapshot snapshot;
  snapshot.cols = board_.FCols;
  snapshot.rows = board_.FRows;
  snapshot.side = board_.FTurn;
  for (int x = 0; x < board_.FCols; ++x)
    for (int y = 0; y < board_.FRows; ++y) snapshot.cells.push_back(board_.FBan[x][y]);
  return snapshot;
}

void Game::NewGame() {
  BoardModel start;
  start.DefaultSetKoma();
  StartFrom(start, 1);
}

void Game::StartFrom(const BoardModel& position, int turn) {
  start_ = position;
  startTurn_ = turn == 2 ? 2 : 1;
  board_.BoardModel::operator=(start_);
  board_.FTurn = startTurn_;
  // A game left unfinished keeps what it counted: it was played, neither won nor lost.
  counted_[0] = counted_[1] = nullptr;
  started_ = false;
  over_ = false;
  result_ = false;
  kuroCount_ = shiroCount_ = 0;
  moves_.clear();
  redo_.clear();
  ++generation_;
  Tell([](GameListener& l) { l.Restarted(); });
}

void Game::SetWho(int who1, int who2) {
  who_[0] = who1;
  who_[1] = who2;
  started_ = true;
  counted_[0] = counted_[1] = nullptr;
  if (who1 == kLocal || who2 == kLocal) {
    Increment(counters_.SouNum);
    counted_[0] = counters_.SouNum;
    if (netPlay_) {
      Increment(counters_.NetNum);
      counted_[1] = counters_.NetNum;
    }
  }
  ++generation_;
  Tell([](GameListener& l) { l.PlayersSet(); });
}

PlayReport Game::Play(const _Rev& move) {
  PlayReport report;
  if (over_) {
    report.outcome = PlayOutcome::Over;
    return report;
  }
  // A newcomer to a network game is told every stone placed, the starting ones first, which
  // already stand on its board.
  if ((move.value == 1 || move.value == 2) && board_.Inside(move.x, move.y) && board_.Cell(move.x, move.y) == move.value) {
    report.outcome = PlayOutcome::AlreadyStands;
    return report;
  }
  if (!IsLegal(move)) {
    report.outcome = PlayOutcome::Illegal;
    return report;
  }
  redo_.clear();
  static_cast<TurnReport&>(report) = Apply(move);
  return report;
}

TurnReport Game::Apply(const _Rev& move) {
  board_.changes.clear();
  board_.KomaGaeshi(move);
  moves_.push_back(PlayedMove{move});
  ++generation_;
  std::vector<_Rev> flipped;
  for (const _Rev& change : board_.changes)
    if (change.x != move.x || change.y != move.y) flipped.push_back(change);
  // The last cell filled ends the game with no pass, the side that filled it still to move.
  if (!board_.Full()) board_.FTurn = OtherSide(board_.FTurn);
  Tell([&](GameListener& l) { l.Placed(move, flipped); });
  return FindPassesAndEnd({});
}

TurnReport Game::SettleTurn() {
  if (over_) return {};
  return FindPassesAndEnd({});
}

TurnReport Game::FindPassesAndEnd(TurnReport report) {
  if (board_.Full()) {
    End();
    report.ended = true;
    return report;
  }
  for (int tries = 0; tries < 2; ++tries) {
    if (board_.CheckKomaPut(board_.FTurn)) return report;
    const int side = board_.FTurn;
    moves_.push_back(PlayedMove{_Rev{-1, -1, side}});
    report.passes.push_back(side);
    // The turn goes over before the next side is looked at; after two passes it stays with the
    // second.
    if (tries == 0) board_.FTurn = OtherSide(side);
    ++generation_;
    Tell([side](GameListener& l) { l.Passed(side); });
  }
  End();
  report.ended = true;
  return report;
}

void Game::End() {
  over_ = true;
  result_ = true;
  counted_[0] = counted_[1] = nullptr;  // the game has its result
  kuroCount_ = board_.Count(1);
  shiroCount_ = board_.Count(2);
  if (kuroCount_ != shiroCount_) {
    const int winner = kuroCount_ > shiroCount_ ? 1 : 2;
    if (SideIsLocal(OtherSide(winner))) {
      Increment(counters_.SouLose);
      if (netPlay_) Increment(counters_.NetLose);
    }
    if (SideIsLocal(winner)) {
      Increment(counters_.SouWin);
      if (netPlay_) Increment(counters_.NetWin);
    }
  }
  ++generation_;
  Tell([](GameListener& l) { l.Ended(); });
}

void Game::Abandon() {
  if (over_) return;
  for (std::int32_t*& counter : counted_) {
    Decrement(counter);
    counter = nullptr;
  }
  over_ = true;
  ++generation_;
  Tell([](GameListener& l) { l.Ended(); });
}

void Game::Stop() {
  if (over_) return;
  counted_[0] = counted_[1] = nullptr;
  over_ = true;
  ++generation_;
  Tell([](GameListener& l) { l.Ended(); });
}

bool Game::CanUndo() const {
  if (over_ || NetworkSide()) return false;
  return std::any_of(moves_.begin(), moves_.end(),
                     [this](const PlayedMove& m) { return !m.IsPass() && SideIsLocal(m.move.value); });
}

bool Game::CanRedo() const { return !over_ && !NetworkSide() && !redo_.empty(); }

TurnReport Game::Undo() {
  if (!CanUndo()) return {};
  std::vector<_Rev> kept;
  std::vector<_Rev> taken;
  // Everything from the local user's last move on goes back, before what was taken back earlier.
  std::size_t cut = moves_.size();
  while (cut > 0 && (moves_[cut - 1].IsPass() || !SideIsLocal(moves_[cut - 1].move.value))) --cut;
  --cut;
  for (std::size_t i = 0; i < moves_.size(); ++i) {
    if (moves_[i].IsPass()) continue;
    (i < cut ? kept : taken).push_back(moves_[i].move);
  }
  taken.insert(taken.end(), redo_.begin(), redo_.end());
  Replay(kept);
  redo_ = std::move(taken);
  ++generation_;
  Tell([](GameListener& l) { l.Rewound(); });
  return {};
}

TurnReport Game::Redo() {
  if (!CanRedo()) return {};
  // The next move and the other side's moves after it, up to the local user's next one.
  std::size_t count = 1;
  while (count < redo_.size() && !SideIsLocal(redo_[count].value)) ++count;
  std::vector<_Rev> placements;
  for (const PlayedMove& m : moves_)
    if (!m.IsPass()) placements.push_back(m.move);
  placements.insert(placements.end(), redo_.begin(), redo_.begin() + static_cast<std::ptrdiff_t>(count));
  std::vector<_Rev> rest(redo_.begin() + static_cast<std::ptrdiff_t>(count), redo_.end());
  const std::size_t before = moves_.size();
  Replay(placements);
  redo_ = std::move(rest);
  TurnReport report;
  // The passes the replayed moves brought, and the end if they reached it, as they were told.
  for (std::size_t i = before; i < moves_.size(); ++i)
    if (moves_[i].IsPass()) report.passes.push_back(moves_[i].move.value);
  report.ended = over_;
  ++generation_;
  Tell([](GameListener& l) { l.Rewound(); });
  return report;
}

void Game::Replay(const std::vector<_Rev>& placements) {
  board_.BoardModel::operator=(start_);
  board_.FTurn = startTurn_;
  moves_.clear();
  // The listeners hear of the rebuilt position once, afterwards.
  const std::vector<GameListener*> listeners = std::move(listeners_);
  listeners_.clear();
  for (const _Rev& move : placements) {
    if (over_ || !IsLegal(move)) break;
    Apply(move);
  }
  listeners_ = listeners;
}
