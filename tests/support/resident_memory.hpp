#pragma once

// The process's resident memory in KiB, now and at its highest so far; -1
// when it cannot be read.
long resident_kib();
long peak_resident_kib();
