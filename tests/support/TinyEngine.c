/* A second engine, written in plain C against the contract header alone. By default it plays
   the first legal cell in column order; the build makes variants of it that answer a fixed cell,
   leave out an export, think for a while, never answer or crash, to stand in for broken or slow
   engines. */
#define _POSIX_C_SOURCE 200809L
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

#include "contract/EngineContract.h"

#ifdef TINY_CRASH_ON_LOAD
/* Dies as the library is loaded, before either export can be called. */
__attribute__((constructor)) static void CrashOnLoad(void) { abort(); }
#endif

#if !defined(TINY_LEAVE_OUT_MOVE) && !defined(TINY_ANSWER_X)
static int Inside(const EngineBoardSize* size, int x, int y) {
  return x >= 0 && x < size->columns && y >= 0 && y < size->rows;
}

static int Encloses(const EngineBoardSize* size, EngineBoard board, int32_t side, int x, int y) {
  int dx, dy;
  if (board[x][y] != VELM_ENGINE_EMPTY) return 0;
  for (dx = -1; dx <= 1; ++dx)
    for (dy = -1; dy <= 1; ++dy) {
      int px = x + dx, py = y + dy, passed = 0;
      if (dx == 0 && dy == 0) continue;
      while (Inside(size, px, py) && board[px][py] != VELM_ENGINE_EMPTY && board[px][py] != side) {
        px += dx;
        py += dy;
        ++passed;
      }
      if (passed > 0 && Inside(size, px, py) && board[px][py] == side) return 1;
    }
  return 0;
}

VELM_ENGINE_EXPORT int32_t VELM_ENGINE_CALL Tekuming(const EngineBoardSize* size, EngineBoard board, int32_t side,
                                                     EngineMove* move, unsigned char* scratch) {
  int x, y;
  (void)scratch;
#ifdef TINY_THINK_MS
  {
    const struct timespec thinking = {TINY_THINK_MS / 1000, (TINY_THINK_MS % 1000) * 1000000L};
    nanosleep(&thinking, NULL);
  }
#endif
#ifdef TINY_CRASH_IN_MOVE
  raise(SIGSEGV);
#endif
#ifdef TINY_PRINTS
  printf("thinking for side %d\n", (int)side); /* a chatty engine's log on its stdout */
  fflush(stdout);
#endif
#ifdef TINY_NEVER_RETURNS
  for (;;) pause();
#endif
  for (x = 0; x < size->columns; ++x)
    for (y = 0; y < size->rows; ++y)
      if (Encloses(size, board, side, x, y)) {
        move->x = x;
        move->y = y;
        move->value = 1;
        return 0;
      }
  return 0;
}
#elif !defined(TINY_LEAVE_OUT_MOVE)
/* A broken engine: always the same cell, whatever the board. */
VELM_ENGINE_EXPORT int32_t VELM_ENGINE_CALL Tekuming(const EngineBoardSize* size, EngineBoard board, int32_t side,
                                                     EngineMove* move, unsigned char* scratch) {
  (void)size;
  (void)board;
  (void)scratch;
  move->x = TINY_ANSWER_X;
  move->y = TINY_ANSWER_Y;
  move->value = side;
  return 0;
}
#endif

#ifndef TINY_LEAVE_OUT_STATUS
VELM_ENGINE_EXPORT int32_t VELM_ENGINE_CALL GetStatus(char* name, char* bitmap) {
#ifdef TINY_CRASH_IN_STATUS
  raise(SIGSEGV);
#endif
#ifdef TINY_LONG_NAME
  /* A careless engine: "ルリカ" five times, 30 bytes, more than the name buffer holds. */
  static const char kName[] = "\x83\x8B\x83\x8A\x83\x4A\x83\x8B\x83\x8A\x83\x4A\x83\x8B\x83\x8A\x83\x4A"
                              "\x83\x8B\x83\x8A\x83\x4A\x83\x8B\x83\x8A\x83\x4A";
#else
  /* "ミニエンジン・テスト": exactly 20 bytes, so the zero is the buffer's 21st byte. */
  static const char kName[] = "\x83\x7E\x83\x6A\x83\x47\x83\x93\x83\x57\x83\x93\x81\x45\x83\x65\x83\x58\x83\x67";
#endif
  memcpy(name, kName, sizeof kName);
  strcpy(bitmap, "Mini.bmp");
  return 0;
}
#endif
