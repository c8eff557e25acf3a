#pragma once
// Control of the fault-injecting file layer (FaultFs.cpp), a library that stands between a
// program and the C library: every file operation of saving made under a watched folder is
// counted, and the one chosen fails with the chosen errno.
//
// Counted operations: "create" (open with O_CREAT, mkstemp, fopen for writing), "write"
// (write, pwrite, writev, fwrite, fputs, fputc, fprintf), "flush" (fflush), "fsync" (fsync,
// fdatasync of a file), "dirsync" (fsync of a folder), "close" (close or fclose of a file
// opened for writing), "rename", "link" and "mkdir".
//
// In a test program linked with the library the functions below control it. Any program
// run with it in LD_PRELOAD is controlled by the environment:
//   FRUSTA_FAULT_WATCH   folders to watch, separated by ':'
//   FRUSTA_FAULT_AT      the number (from 1) of the operation that fails
//   FRUSTA_FAULT_ERRNO   its errno (a number)
//   FRUSTA_FAULT_REPORT  a file that receives, at exit, "ops N", "fired 0|1" and one line
//                        per operation: its number, kind and path
//   FRUSTA_FAULT_SLOW_RENAME_MS  each rename under a watched folder waits this long first
//   FRUSTA_FAULT_HOOKS   lines "PATH<TAB>COMMAND": the first time the program opens PATH,
//                        COMMAND runs (sh -c, without these variables) and is waited for;
//                        "@kill-children-opening FILE", "@stall-children-opening FILE" and
//                        "@spare-children" set or clear the trap below instead
#ifdef __cplusplus
extern "C" {
#endif

// Forgets the operations counted, the folders watched, the armed failure and the trap.
void frusta_fault_reset(void);
void frusta_fault_watch(const char* folder);
// Operation number `op` (from 1, counted since the last reset) fails with `err`; 0: none.
void frusta_fault_arm(long op, int err);
// The first operation of `kind` ("rename", "write", ...) from now on fails with `err`.
void frusta_fault_arm_kind(const char* kind, int err);
long frusta_fault_count(void);
// 1 when the armed operation was reached and failed.
int frusta_fault_fired(void);
// From now on a child process of this one that opens `path` (a forked reading) is killed
// ("kill") or stalls until it is killed ("stall"); "" clears the trap.
void frusta_fault_trap_children(const char* action, const char* path);
// "KIND PATH" of operation `op` since the last reset; "" when there was none.
const char* frusta_fault_describe(long op);

#ifdef __cplusplus
}
#endif
