#pragma once
// When an allocation fails the user is asked, in a task-modal box, to free
// memory and retry, or to cancel, which ends the program with exit code 1.

// Installs the handler for every allocation through operator new.
void InstallOutOfMemoryHandler();

// The question of the handler; true for Retry. Uses no heap memory.
bool AskRetryAfterMemoryLow();
