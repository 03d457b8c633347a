#pragma once
// Installing a release's zip into a Quake directory, in two steps: PlanInstall lists where
// each entry goes and which existing files are in the way; Install writes them, overwriting
// files that are not the release's own only when allowed. Each entry lands at
// "<Quake>/<zipbasedir>/<entry>"; folders (and the file names) already on disk are matched
// ignoring case, so "MAPS/x.bsp" joins an existing "maps". Every file is inflated in bounded
// chunks beside its place under a temporary name, and renamed in only when all are written;
// a failure or a cancel at any point leaves the directory as it was (replaced files come
// back, created folders go). The record (InstallRecord.h) is written last.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "addons/AddOn.h"
#include "addons/ZipEntries.h"

namespace fenmar::addons {

struct PlannedFile {
    std::string path;  // relative to the Quake directory, '/'-separated
    std::uint64_t zipIndex = 0;
    std::uint64_t size = 0;
    bool exists = false;  // something is at that place now
};

struct Conflict {
    std::string path;   // relative to the Quake directory
    std::string owner;  // the installed release whose record lists it; "" for none
};

struct InstallPlan {
    std::string quakeDir;
    std::string zipPath;
    std::string id;
    std::vector<PlannedFile> files;
    std::vector<std::string> newDirectories;  // to be created, parents first
    // Existing files the install would replace and that are not this release's own
    // (recorded by its earlier install and unchanged since).
    std::vector<Conflict> conflicts;
    std::uint64_t totalBytes = 0;
    std::string error;  // non-empty: refused (unsafe zip, bad zipbasedir, no zip support...)
    bool Ok() const { return error.empty(); }
    // Every file of the zip is present already: the release was installed by hand.
    bool AllPresent() const;
};

InstallPlan PlanInstall(const std::string& quakeDir, const AddOn& addOn, const std::string& zipPath,
                        const UnpackLimits& limits = {});

// Called as bytes are written: (done, total); returning false cancels the install.
using InstallProgress = std::function<bool(std::uint64_t done, std::uint64_t total)>;

struct InstallResult {
    std::string error;  // non-empty: nothing of the release stayed
    bool cancelled = false;
    std::vector<std::string> files;  // installed, relative to the Quake directory
    bool Ok() const { return error.empty(); }
};

// Refuses a plan with conflicts unless `allowOverwrite`; also refuses when a file appears in
// the way after planning.
InstallResult Install(const InstallPlan& plan, bool allowOverwrite,
                      const InstallProgress& progress = {});

}  // namespace fenmar::addons
