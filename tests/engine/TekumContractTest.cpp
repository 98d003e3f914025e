// The built TEKUM.DLL from outside, the way the game and any other host meet it.
#include <dlfcn.h>
#include <elf.h>
#include <gtest/gtest.h>

#include <QImage>
#include <array>
#include <cstdlib>
#include <cstring>
#include <set>

#include "enginehost/EngineCalls.h"
#include "contract/EngineContract.h"
#include "tests/support/Files.h"
#include "tests/support/BoardPicture.h"

namespace {

std::string BinDir() {
  const char* dir = std::getenv("VELM_BIN_DIR");
  return dir ? dir : VELM_BIN_DIR_DEFAULT;
}

std::string TekumPath() { return BinDir() + "/DllCpu/Tekum/TEKUM.DLL"; }

// Names of the functions and objects the library's dynamic symbol table defines.
std::set<std::string> DefinedDynamicSymbols(const std::string& path) {
  const QByteArray image = ReadFile(QString::fromStdString(path));
  auto at = [&](std::size_t offset, std::size_t size) {
    return offset + size <= static_cast<std::size_t>(image.size()) ? image.constData() + offset : nullptr;
  };
  const auto* header = reinterpret_cast<const Elf64_Ehdr*>(at(0, sizeof(Elf64_Ehdr)));
  if (!header || std::memcmp(header->e_ident, ELFMAG, SELFMAG) != 0 || header->e_ident[EI_CLASS] != ELFCLASS64) return {};
  std::set<std::string> names;
  for (int i = 0; i < header->e_shnum; ++i) {
    const auto* section = reinterpret_cast<const Elf64_Shdr*>(at(header->e_shoff + i * sizeof(Elf64_Shdr), sizeof(Elf64_Shdr)));
    if (!section || section->sh_type != SHT_DYNSYM) continue;
    const auto* strings = reinterpret_cast<const Elf64_Shdr*>(at(header->e_shoff + section->sh_link * sizeof(Elf64_Shdr), sizeof(Elf64_Shdr)));
    for (std::size_t s = 0; strings && s < section->sh_size / sizeof(Elf64_Sym); ++s) {
      const auto* sym = reinterpret_cast<const Elf64_Sym*>(at(section->sh_offset + s * sizeof(Elf64_Sym), sizeof(Elf64_Sym)));
      if (!sym || sym->st_shndx == SHN_UNDEF) continue;
      const int type = ELF64_ST_TYPE(sym->st_info);
      if (type != STT_FUNC && type != STT_OBJECT) continue;
      if (const char* name = at(strings->sh_offset + sym->st_name, 1)) names.insert(name);
    }
  }
  return names;
}

const BoardPicture kStart = {
    "........", "........", "........", "...21...", "...12...", "........", "........", "........",
};

std::vector<std::string> Picture(std::int32_t* const* board, std::int32_t cols, std::int32_t rows) {
  ContractBoard copy(std::vector<std::string>(static_cast<std::size_t>(rows), std::string(static_cast<std::size_t>(cols), '.')));
  for (std::int32_t x = 0; x < cols; ++x)
    for (std::int32_t y = 0; y < rows; ++y) copy.At(x, y) = board[x][y];
  return copy.Picture();
}

// dlopen'ed for one test, as a third-party host would.
class PlainLoad : public ::testing::Test {
 protected:
  void SetUp() override {
    handle_ = dlopen(TekumPath().c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle_, nullptr) << dlerror();
    tekuming_ = reinterpret_cast<TekumingProc>(dlsym(handle_, "Tekuming"));
    getStatus_ = reinterpret_cast<GetStatusProc>(dlsym(handle_, "GetStatus"));
    ASSERT_NE(tekuming_, nullptr);
    ASSERT_NE(getStatus_, nullptr);
  }
  void TearDown() override {
    if (handle_) dlclose(handle_);
  }

  // One Tekuming call on board; checks that neither the board nor the scratch buffer changed.
  EngineMove Ask(ContractBoard& board, std::int32_t side, EngineMove start = {}) {
    std::array<unsigned char, VELM_ENGINE_SCRATCH_SIZE> scratch;
    scratch.fill(0x5A);
    const auto before = board.Picture();
    const EngineBoardSize size{board.cols(), board.rows()};
    EngineMove move = start;
    EXPECT_EQ(tekuming_(&size, board.Columns(), side, &move, scratch.data()), 0);
    EXPECT_EQ(board.Picture(), before) << "the engine wrote to the board";
    for (unsigned char byte : scratch) EXPECT_EQ(byte, 0x5A) << "the engine wrote to the scratch buffer";
    return move;
  }

  void* handle_ = nullptr;
  TekumingProc tekuming_ = nullptr;
  GetStatusProc getStatus_ = nullptr;
};

}  // namespace

TEST(TekumLibrary, ExportsExactlyTheTwoFunctions) {
  EXPECT_EQ(DefinedDynamicSymbols(TekumPath()), (std::set<std::string>{"Tekuming", "GetStatus"}));
}

TEST(TekumLibrary, PictureLiesBesideTheLibrary) {
  const QImage face(QString::fromStdString(BinDir() + "/DllCpu/Tekum/Rurika.bmp"));
  ASSERT_FALSE(face.isNull());
  EXPECT_EQ(face.size(), QSize(32, 32));
  // A face, not a blank: the picture holds many colours.
  std::set<QRgb> colours;
  for (int y = 0; y < face.height(); ++y)
    for (int x = 0; x < face.width(); ++x) colours.insert(face.pixel(x, y));
  EXPECT_GT(colours.size(), 20u);
}

TEST_F(PlainLoad, GetStatusWritesNameAndPictureWithTheirZeros) {
  std::array<char, VELM_ENGINE_NAME_SIZE> name{};
  std::array<char, VELM_ENGINE_BITMAP_SIZE> bitmap{};
  EXPECT_EQ(getStatus_(name.data(), bitmap.data()), 0);
  const unsigned char expected[] = {0x83, 0x8B, 0x83, 0x8A, 0x83, 0x4A, 0x00};
  EXPECT_EQ(std::memcmp(name.data(), expected, sizeof expected), 0);
  EXPECT_EQ(std::string(bitmap.data()), "Rurika.bmp");
  for (std::size_t i = sizeof expected; i < name.size(); ++i) EXPECT_EQ(name[i], 0);
  for (std::size_t i = 11; i < bitmap.size(); ++i) EXPECT_EQ(bitmap[i], 0);
}

TEST_F(PlainLoad, AnswersALegalOpeningMoveWithItsGain) {
  ContractBoard board(kStart);
  const std::set<std::pair<int, int>> legal1 = {{2, 3}, {3, 2}, {4, 5}, {5, 4}};
  const EngineMove one = Ask(board, 1);
  EXPECT_TRUE(legal1.count({one.x, one.y})) << one.x << "," << one.y;
  EXPECT_EQ(one.value, 2);
  const std::set<std::pair<int, int>> legal2 = {{2, 4}, {4, 2}, {3, 5}, {5, 3}};
  const EngineMove two = Ask(board, 2);
  EXPECT_TRUE(legal2.count({two.x, two.y})) << two.x << "," << two.y;
  EXPECT_EQ(two.value, 2);
}

TEST_F(PlainLoad, SmallAndOblongBoards) {
  ContractBoard three({"12.", "...", "..."});
  const EngineMove m3 = Ask(three, 1);
  EXPECT_EQ((std::array<int, 3>{m3.x, m3.y, m3.value}), (std::array<int, 3>{2, 0, 2}));
  // 4 columns by 5 rows: the only legal move is (1,4), flipping (1,3) upwards and (2,3) up-right.
  ContractBoard oblong({"....", "....", ".1.1", ".22.", "...1"});
  const EngineMove m45 = Ask(oblong, 1);
  EXPECT_EQ((std::array<int, 3>{m45.x, m45.y, m45.value}), (std::array<int, 3>{1, 4, 3}));
}

TEST_F(PlainLoad, LeavesTheMoveRecordAloneWhenItCannotChoose) {
  const EngineMove untouched{-5, -6, -7};
  ContractBoard noMove({"1..", "...", "..."});
  const EngineMove a = Ask(noMove, 1, untouched);
  EXPECT_EQ((std::array<int, 3>{a.x, a.y, a.value}), (std::array<int, 3>{-5, -6, -7}));
  ContractBoard tooSmall({"12", ".."});
  const EngineMove b = Ask(tooSmall, 1, untouched);
  EXPECT_EQ((std::array<int, 3>{b.x, b.y, b.value}), (std::array<int, 3>{-5, -6, -7}));
}

TEST(TekumThroughEngineCalls, StatusAndMoveAsTheGameSeesThem) {
  // The game calls every engine through the runner beside it.
  const std::string runner = EngineRunnerIn(BinDir());
  const auto status = QueryEngineStatus(runner, TekumPath());
  ASSERT_TRUE(status.value.has_value());
  EXPECT_EQ(status.value->name, QByteArray("\x83\x8B\x83\x8A\x83\x4A"));
  EXPECT_EQ(status.value->bitmap, QByteArray("Rurika.bmp"));

  ContractBoard board(kStart);
  const auto move = AskEngineMove(runner, TekumPath(), 8, 8, board.Columns(), 2);
  ASSERT_TRUE(move.value.has_value());
  const std::set<std::pair<int, int>> legal2 = {{2, 4}, {4, 2}, {3, 5}, {5, 3}};
  EXPECT_TRUE(legal2.count({move.value->x, move.value->y}));
  EXPECT_EQ(move.value->value, 2) << "the gain is replaced by the side";
  EXPECT_EQ(Picture(board.Columns(), 8, 8), kStart);

  // Late in a game the side value still replaces a larger gain.
  ContractBoard single({"........", "........", "........", "...2221.", "........", "........", "........", "........"});
  const auto only = AskEngineMove(runner, TekumPath(), 8, 8, single.Columns(), 1);
  ASSERT_TRUE(only.value.has_value());
  EXPECT_EQ((std::array<int, 3>{only.value->x, only.value->y, only.value->value}), (std::array<int, 3>{2, 3, 1}));
}
