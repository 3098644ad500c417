// How the process keeps the memory it frees: for work that makes many pictures and files one
// after another, and so allocates and frees the same large buffers again and again; and giving
// it back after a burst of work that will not come again soon.
#pragma once

namespace platform {

// Keeps freed memory in the process for the next allocation instead of handing it back to the
// system at every free (which costs a page fault per page when it is taken again).
void KeepFreedMemory();
// The same, with every thread's allocations from the one heap, so that what one worker frees the
// next takes (for a few threads that each allocate and free pictures of tens of megabytes).
void KeepFreedMemoryInOneHeap();

// Hands the freed memory the allocator still holds back to the system, also the free pages
// between blocks still in use, which it never gives back by itself.
void ReturnFreedMemory();

}  // namespace platform
