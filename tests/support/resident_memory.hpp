#pragma once

// The process's resident memory in KiB, or -1 when it cannot be read.
long resident_kib();
