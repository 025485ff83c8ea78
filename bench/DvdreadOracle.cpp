#include "DvdreadOracle.h"

#include <cstdarg>
#include <cstdio>

#include <dvdread/ifo_read.h>

namespace quoril_bench {

namespace {

void Collect(void* Private, dvd_logger_level_t, const char* Format, va_list Arguments)
{
    char Line[1024];
    std::vsnprintf(Line, sizeof Line, Format, Arguments);
    static_cast<DvdreadLog*>(Private)->Messages.emplace_back(Line);
}

const dvd_logger_cb Logger{Collect};

// Appends "what: expected E, found F" to Problems when the values differ.
template <class Value>
void Expect(std::string& Problems, const char* What, Value Found, Value Expected)
{
    if (Found == Expected) return;
    Problems += std::string(What) + ": expected " + std::to_string(Expected) + ", found " + std::to_string(Found) + "\n";
}

void CheckTitleSet(const ifo_handle_t* Ifo, std::string& Problems)
{
    if (Ifo->vtsi_mat == nullptr || Ifo->vts_ptt_srpt == nullptr || Ifo->vts_pgcit == nullptr ||
        Ifo->pgci_ut == nullptr || Ifo->vts_tmapt == nullptr || Ifo->menu_c_adt == nullptr ||
        Ifo->menu_vobu_admap == nullptr || Ifo->vts_c_adt == nullptr || Ifo->vts_vobu_admap == nullptr) {
        Problems += "ifoOpen(dvd, 1) left a table of VTS_01_0.IFO unread (NULL)\n";
        return;
    }
    Expect(Problems, "VTS_PTT_SRPT titles", int{Ifo->vts_ptt_srpt->nr_of_srpts}, int{Titles});
    Expect(Problems, "VTS_PGCIT chains", int{Ifo->vts_pgcit->nr_of_pgci_srp}, int{Titles});
    Expect(Problems, "cells of the last title chain",
           int{Ifo->vts_pgcit->pgci_srp[Titles - 1].pgc->nr_of_cells}, int{Cells_per_Chain});
    Expect(Problems, "VTSM_PGCI_UT language units", int{Ifo->pgci_ut->nr_of_lus}, int{Menu_Language_Units});
    Expect(Problems, "VTS_TMAPT time maps", int{Ifo->vts_tmapt->nr_of_tmaps}, int{Titles});
    Expect(Problems, "entries of the last time map", int{Ifo->vts_tmapt->tmap[Titles - 1].nr_of_entries},
           int{Time_Map_Entries});
    Expect(Problems, "VTS_C_ADT cells", (Ifo->vts_c_adt->last_byte + 1 - 8) / 12,
           std::uint32_t{Titles} * Cells_per_Chain);
    Expect(Problems, "VTS_VOBU_ADMAP entries", (Ifo->vts_vobu_admap->last_byte + 1 - 4) / 4, Title_VOBUs);
}

void CheckVideoManager(const ifo_handle_t* Ifo, std::string& Problems)
{
    if (Ifo->vmgi_mat == nullptr || Ifo->first_play_pgc == nullptr || Ifo->tt_srpt == nullptr ||
        Ifo->pgci_ut == nullptr || Ifo->ptl_mait == nullptr || Ifo->vts_atrt == nullptr ||
        Ifo->txtdt_mgi == nullptr || Ifo->menu_c_adt == nullptr || Ifo->menu_vobu_admap == nullptr) {
        Problems += "ifoOpen(dvd, 0) left a table of VIDEO_TS.IFO unread (NULL)\n";
        return;
    }
    Expect(Problems, "TT_SRPT titles", int{Ifo->tt_srpt->nr_of_srpts}, int{Titles});
    Expect(Problems, "VMGM_PGCI_UT chains of the last language unit",
           int{Ifo->pgci_ut->lu[Ifo->pgci_ut->nr_of_lus - 1].pgcit->nr_of_pgci_srp}, int{Manager_Menu_Chains});
    Expect(Problems, "PTL_MAIT countries", int{Ifo->ptl_mait->nr_of_countries}, int{Parental_Countries});
    Expect(Problems, "PTL_MAIT title sets", int{Ifo->ptl_mait->nr_of_vtss}, int{Title_Sets});
    Expect(Problems, "VTS_ATRT title sets", int{Ifo->vts_atrt->nr_of_vtss}, int{Title_Sets});
}

}  // namespace

dvd_reader_t* OpenDvdFolder(const std::filesystem::path& Root, DvdreadLog& Log)
{
    return DVDOpen2(&Log, &Logger, Root.c_str());
}

std::string CheckDvdreadParses(const DvdFolder& Folder)
{
    std::string Problems;
    DvdreadLog Log;
    dvd_reader_t* Dvd = OpenDvdFolder(Folder.Root, Log);
    if (Dvd == nullptr) {
        Problems += "DVDOpen of " + Folder.Root.string() + " failed\n";
    } else {
        if (ifo_handle_t* Ifo = ifoOpen(Dvd, 1)) {
            CheckTitleSet(Ifo, Problems);
            ifoClose(Ifo);
        } else {
            Problems += "ifoOpen(dvd, 1) refused VTS_01_0.IFO\n";
        }
        if (ifo_handle_t* Ifo = ifoOpen(Dvd, 0)) {
            CheckVideoManager(Ifo, Problems);
            ifoClose(Ifo);
        } else {
            Problems += "ifoOpen(dvd, 0) refused VIDEO_TS.IFO\n";
        }
        DVDClose(Dvd);
    }
    // A failed consistency check is only a warning to libdvdread, but it
    // means the fixture is not what a disc would hold.
    for (const std::string& Message : Log.Messages)
        if (Message.find("CHECK_") != std::string::npos || Message.find("rror") != std::string::npos)
            Problems += "libdvdread: " + Message + (Message.ends_with('\n') ? "" : "\n");
    return Problems;
}

}  // namespace quoril_bench
