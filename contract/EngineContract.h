/*
 * The engine contract: everything an engine library and the game meet on.
 *
 * An engine is a shared library named "TEKUM.DLL" in a folder of its own under the game's
 * "DllCpu/" folder, with its character picture beside it. It exports exactly two functions,
 * undecorated, by name: Tekuming (choose a move) and GetStatus (name and picture). The game
 * loads the library for every single call and frees it at once, so an engine keeps nothing
 * from one call to the next. Every buffer below belongs to the caller; an engine keeps no
 * pointer to any of them after it returns. Calls never overlap.
 *
 * This header is plain C and needs nothing but <stdint.h>; a third party can build an
 * engine from it alone. Build the engine with hidden visibility so that only the two
 * functions are exported. On 32-bit Windows the functions are __stdcall; list them in a .def
 * file there, so that their exported names stay undecorated ("Tekuming", not "_Tekuming@20").
 */
#ifndef VELMORA_ENGINE_CONTRACT_H
#define VELMORA_ENGINE_CONTRACT_H

#include <stdint.h>

#if defined(_WIN32) && !defined(_WIN64)
#define VELM_ENGINE_CALL __stdcall
#else
#define VELM_ENGINE_CALL
#endif

#if defined(_WIN32)
#define VELM_ENGINE_EXPORT __declspec(dllexport)
#elif defined(__GNUC__)
#define VELM_ENGINE_EXPORT __attribute__((visibility("default")))
#else
#define VELM_ENGINE_EXPORT
#endif

/* Where engines lie, relative to the program folder, and the fixed library file name. */
#define VELM_ENGINE_FOLDER "DllCpu/"
#define VELM_ENGINE_FILE_NAME "TEKUM.DLL"

/* The exported names, as the game looks them up. */
#define VELM_ENGINE_MOVE_EXPORT "Tekuming"
#define VELM_ENGINE_STATUS_EXPORT "GetStatus"

/* Buffer sizes in bytes, terminating zero included. The caller zero-fills each before the call. */
#define VELM_ENGINE_NAME_SIZE 21     /* display name, code page 932, at most 20 bytes + NUL */
#define VELM_ENGINE_BITMAP_SIZE 512  /* picture file name without folder, at most 511 bytes + NUL */
#define VELM_ENGINE_SCRATCH_SIZE 256 /* handed to every Tekuming call; never write past it */

/* Cell values: 0 empty, the side to move's value its own piece, any other value the opponent's. */
#define VELM_ENGINE_EMPTY 0

#ifdef __cplusplus
extern "C" {
#endif

/* Board size record: read by the engine. */
typedef struct EngineBoardSize {
  int32_t columns; /* extent of the first index x */
  int32_t rows;    /* extent of the second index y */
} EngineBoardSize;

/*
 * Board shape: an array of `columns` pointers, each to a column of `rows` cells; cell (x, y) is
 * board[x][y], x = 0 the leftmost column, y = 0 the top row. The game passes a private copy
 * made for the call; the engine only reads it.
 */
typedef int32_t* const* EngineBoard;

/* Move record: written by the engine, zero-filled by the caller. Same 12 bytes as the game's
   position record. */
typedef struct EngineMove {
  int32_t x;     /* column of the chosen cell */
  int32_t y;     /* row of the chosen cell */
  int32_t value; /* gain: cells turned to the mover's colour, the placed piece included; the
                    game overwrites it with the side before use */
} EngineMove;

/*
 * Choose a move for `side` (1 or 2). The caller asks only when the side has a legal move.
 * `scratch` points to VELM_ENGINE_SCRATCH_SIZE zeroed bytes. Returns 0; the game ignores it.
 */
VELM_ENGINE_EXPORT int32_t VELM_ENGINE_CALL Tekuming(const EngineBoardSize* size, EngineBoard board,
                                                     int32_t side, EngineMove* move,
                                                     unsigned char* scratch);

/*
 * Report the engine's character: `name` receives VELM_ENGINE_NAME_SIZE bytes at most and
 * `bitmap` VELM_ENGINE_BITMAP_SIZE, each text with its terminating zero. Returns 0; the game
 * ignores it.
 */
VELM_ENGINE_EXPORT int32_t VELM_ENGINE_CALL GetStatus(char* name, char* bitmap);

/* The same two functions as the game holds them after looking them up by name. */
typedef int32_t(VELM_ENGINE_CALL* TekumingProc)(const EngineBoardSize* size, EngineBoard board,
                                               int32_t side, EngineMove* move,
                                               unsigned char* scratch);
typedef int32_t(VELM_ENGINE_CALL* GetStatusProc)(char* name, char* bitmap);

#ifdef __cplusplus
} /* extern "C" */
#endif

#ifdef __cplusplus
static_assert(sizeof(EngineBoardSize) == 8, "two 32-bit integers");
static_assert(sizeof(EngineMove) == 12, "three 32-bit integers");
#elif defined(__STDC_VERSION__) && __STDC_VERSION__ >= 201112L
_Static_assert(sizeof(EngineBoardSize) == 8, "two 32-bit integers");
_Static_assert(sizeof(EngineMove) == 12, "three 32-bit integers");
#endif

#endif /* VELMORA_ENGINE_CONTRACT_H */
