// Clears the fields that the writers recompute (table start sectors, the
// information file's last sector, every offset and end address they lay out
// afresh) and the reader's verdicts, so that a record can be compared with
// the record read back from what the writer made of it.
#pragma once

#include "structures/Structure_IFO.h"

namespace quoril_test {

inline void NormalizeChain(PGC& Chain)
{
    // Presence is what a sub-table offset carries through a rewrite; its value is recomputed.
    for (std::uint16_t* Offset : {&Chain.Offset_of_Command_Table, &Chain.Offset_of_Program_Map,
                                  &Chain.Offset_of_Cell_Playback, &Chain.Offset_of_Cell_Position})
        *Offset = *Offset != 0 ? 1 : 0;
    if (Chain.Offset_of_Command_Table != 0) Chain.Command_Table_Last_Byte = 0;
}

inline void NormalizeMenus(PGCI_UT& Table)
{
    Table.Last_Byte = 0;
    for (PGCI_LU_SRP& Pointer : Table.Language_Search_Pointers) Pointer.Offset_of_Language_Unit = 0;
    for (PGCI_LU& Unit : Table.Language_Units) {
        Unit.Last_Byte = 0;
        for (PGCI_SRP& Pointer : Unit.PGC_Search_Pointers) Pointer.Offset_of_PGC = 0;
        for (PGC& Chain : Unit.PGCs) NormalizeChain(Chain);
    }
}

inline VTS Normalized(VTS Record)
{
    Record.Last_Sector_of_VTSI = 0;
    for (std::uint32_t* Start : {&Record.Start_Sector_of_PTT_SRPT, &Record.Start_Sector_of_PGCIT,
                                 &Record.Start_Sector_of_VTSM_PGCI_UT, &Record.Start_Sector_of_TMAPT,
                                 &Record.Start_Sector_of_VTSM_C_ADT, &Record.Start_Sector_of_VTSM_VOBU_ADMAP,
                                 &Record.Start_Sector_of_VTS_C_ADT, &Record.Start_Sector_of_VTS_VOBU_ADMAP})
        *Start = *Start != 0 ? 1 : 0;
    Record.PTT_SRPT.Last_Byte = 0;
    for (std::uint32_t& Offset : Record.PTT_SRPT.Title_Offsets) Offset = 0;
    Record.PGCIT.Last_Byte = 0;
    for (PGCI_SRP& Pointer : Record.PGCIT.PGC_Search_Pointers) Pointer.Offset_of_PGC = 0;
    for (PGC& Chain : Record.PGCIT.PGCs) NormalizeChain(Chain);
    NormalizeMenus(Record.VTSM_PGCI_UT);
    Record.TMAPT.Last_Byte = 0;
    for (std::uint32_t& Offset : Record.TMAPT.TMAP_Offsets) Offset = 0;
    Record.VTSM_C_ADT.Last_Byte = 0;
    Record.VTSM_VOBU_ADMAP.Last_Byte = 0;
    Record.VTS_C_ADT.Last_Byte = 0;
    Record.VTS_VOBU_ADMAP.Last_Byte = 0;
    Record.PTT_SRPT_OK = Record.PGCIT_OK = Record.VTSM_PGCI_UT_OK = Record.TMAPT_OK = false;
    Record.VTSM_C_ADT_OK = Record.VTSM_VOBU_ADMAP_OK = Record.VTS_C_ADT_OK = Record.VTS_VOBU_ADMAP_OK = false;
    Record.Last_Byte_Read = 0;
    return Record;
}

inline VMG Normalized(VMG Record)
{
    Record.Last_Sector_of_VMGI = 0;
    for (std::uint32_t* Start : {&Record.Start_Sector_of_TT_SRPT, &Record.Start_Sector_of_VMGM_PGCI_UT,
                                 &Record.Start_Sector_of_PTL_MAIT, &Record.Start_Sector_of_VTS_ATRT,
                                 &Record.Start_Sector_of_TXTDT_MGI, &Record.Start_Sector_of_VMGM_C_ADT,
                                 &Record.Start_Sector_of_VMGM_VOBU_ADMAP})
        *Start = *Start != 0 ? 1 : 0;
    Record.VMG_TT_SRPT.Last_Byte = 0;
    NormalizeMenus(Record.VMGM_PGCI_UT);
    Record.VMG_PTL_MAIT.Last_Byte = 0;
    for (PTL_MAIT_SRP& Country : Record.VMG_PTL_MAIT.Countries) Country.Offset_of_PTL_MAI = 0;
    Record.VMG_VTS_ATRT.Last_Byte = 0;
    for (std::uint32_t& Offset : Record.VMG_VTS_ATRT.VTS_ATR_Offsets) Offset = 0;
    for (VTS_ATR& Entry : Record.VMG_VTS_ATRT.VTS_ATRs) Entry.Last_Byte = 0;
    Record.VMG_TXTDT_MGI.Last_Byte = 0;
    for (TXTDT_LU_SRP& Pointer : Record.VMG_TXTDT_MGI.Language_Search_Pointers) Pointer.Offset_of_Language_Unit = 0;
    Record.VMGM_C_ADT.Last_Byte = 0;
    Record.VMGM_VOBU_ADMAP.Last_Byte = 0;
    Record.TT_SRPT_OK = Record.VMGM_PGCI_UT_OK = Record.PTL_MAIT_OK = Record.VTS_ATRT_OK = false;
    Record.TXTDT_MGI_OK = Record.VMGM_C_ADT_OK = Record.VMGM_VOBU_ADMAP_OK = false;
    Record.Last_Byte_Read = 0;
    return Record;
}

}  // namespace quoril_test
