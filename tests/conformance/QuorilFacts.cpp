#include "QuorilFacts.h"

#include <array>
#include <string>

namespace {

std::array<std::uint8_t, 4> BigEndian(std::uint32_t Value) {
    return {static_cast<std::uint8_t>(Value >> 24), static_cast<std::uint8_t>(Value >> 16),
            static_cast<std::uint8_t>(Value >> 8), static_cast<std::uint8_t>(Value)};
}

// A menu attribute block describes at most one audio and one subpicture
// stream, so only its first entries are compared.
void PutMenuAttributes(const FactWriter& Out, const MENU_ATTRIBUTES& Block) {
    Out.Hex("Video_Attributes", Block.Video_Attributes.data(), 2);
    Out.Number("Number_of_Audio_Streams", Block.Number_of_Audio_Streams);
    Out.Hex("Audio_Attributes", 0, Block.Audio_Attributes[0].data(), 8);
    Out.Number("Number_of_Subpicture_Streams",
               Block.Number_of_Subpicture_Streams[0] << 8 | Block.Number_of_Subpicture_Streams[1]);
    Out.Hex("Subpicture_Attributes", Block.Subpicture_Attributes.data(), 6);
}

void PutTitleSetAttributes(const FactWriter& Out, const TITLE_SET_ATTRIBUTES& Block, bool With_Multichannel) {
    Out.Hex("Video_Attributes", Block.Video_Attributes.data(), 2);
    Out.Number("Number_of_Audio_Streams", Block.Number_of_Audio_Streams);
    for (std::size_t i = 0; i < Block.Audio_Attributes.size(); ++i)
        Out.Hex("Audio_Attributes", i, Block.Audio_Attributes[i].data(), 8);
    Out.Number("Number_of_Subpicture_Streams", Block.Number_of_Subpicture_Streams);
    for (std::size_t i = 0; i < Block.Subpicture_Attributes.size(); ++i)
        Out.Hex("Subpicture_Attributes", i, Block.Subpicture_Attributes[i].data(), 6);
    if (With_Multichannel)
        for (std::size_t i = 0; i < Block.Multichannel_Extension.size(); ++i)
            Out.Hex("Multichannel_Extension", i, Block.Multichannel_Extension[i].data(), 24);
}

void PutPGC(const FactWriter& Out, const PGC& Chain) {
    Out.Number("Number_of_Programs", Chain.Number_of_Programs);
    Out.Number("Number_of_Cells", Chain.Number_of_Cells);
    Out.Hex("Playback_Time", BigEndian(Chain.Playback_Time).data(), 4);
    Out.Hex("Prohibited_User_Operations", BigEndian(Chain.Prohibited_User_Operations).data(), 4);
    for (std::size_t i = 0; i < Chain.Audio_Stream_Control.size(); ++i)
        Out.Hex("Audio_Stream_Control", i, Chain.Audio_Stream_Control[i].data(), 2);
    for (std::size_t i = 0; i < Chain.Subpicture_Stream_Control.size(); ++i)
        Out.Hex("Subpicture_Stream_Control", i, Chain.Subpicture_Stream_Control[i].data(), 4);
    Out.Number("Next_PGC_Number", Chain.Next_PGC_Number);
    Out.Number("Previous_PGC_Number", Chain.Previous_PGC_Number);
    Out.Number("GoUp_PGC_Number", Chain.GoUp_PGC_Number);
    Out.Number("Still_Time", Chain.Still_Time);
    Out.Number("Playback_Mode", Chain.Playback_Mode);
    for (std::size_t i = 0; i < Chain.Palette.size(); ++i) Out.Hex("Palette", i, Chain.Palette[i].data(), 4);
    Out.Number("Offset_of_Command_Table", Chain.Offset_of_Command_Table);
    Out.Number("Offset_of_Program_Map", Chain.Offset_of_Program_Map);
    Out.Number("Offset_of_Cell_Playback", Chain.Offset_of_Cell_Playback);
    Out.Number("Offset_of_Cell_Position", Chain.Offset_of_Cell_Position);
    if (Chain.Offset_of_Command_Table != 0) {
        Out.Number("Number_of_Pre_Commands", Chain.Number_of_Pre_Commands);
        Out.Number("Number_of_Post_Commands", Chain.Number_of_Post_Commands);
        Out.Number("Number_of_Cell_Commands", Chain.Number_of_Cell_Commands);
        Out.Number("Command_Table_Last_Byte", Chain.Command_Table_Last_Byte);
        for (std::size_t i = 0; i < Chain.Pre_Commands.size(); ++i)
            Out.Hex("Pre_Commands", i, Chain.Pre_Commands[i].data(), 8);
        for (std::size_t i = 0; i < Chain.Post_Commands.size(); ++i)
            Out.Hex("Post_Commands", i, Chain.Post_Commands[i].data(), 8);
        for (std::size_t i = 0; i < Chain.Cell_Commands.size(); ++i)
            Out.Hex("Cell_Commands", i, Chain.Cell_Commands[i].data(), 8);
    }
    if (Chain.Offset_of_Program_Map != 0)
        for (std::size_t i = 0; i < Chain.Program_Map.size(); ++i) Out.Number("Program_Map", i, Chain.Program_Map[i]);
    if (Chain.Offset_of_Cell_Playback != 0)
        for (std::size_t i = 0; i < Chain.Cell_Playback.size(); ++i) {
            const C_PBI& Cell = Chain.Cell_Playback[i];
            const FactWriter C = Out.Sub("Cell_Playback", i);
            const std::uint8_t Category[2] = {Cell.Category_Byte_1, Cell.Category_Byte_2};
            C.Hex("Category", Category, 2);
            C.Number("Still_Time", Cell.Still_Time);
            C.Number("Command_Number", Cell.Command_Number);
            C.Hex("Playback_Time", BigEndian(Cell.Playback_Time).data(), 4);
            C.Number("First_VOBU_Start_Sector", Cell.First_VOBU_Start_Sector);
            C.Number("First_ILVU_End_Sector", Cell.First_ILVU_End_Sector);
            C.Number("Last_VOBU_Start_Sector", Cell.Last_VOBU_Start_Sector);
            C.Number("Last_VOBU_End_Sector", Cell.Last_VOBU_End_Sector);
        }
    if (Chain.Offset_of_Cell_Position != 0)
        for (std::size_t i = 0; i < Chain.Cell_Position.size(); ++i) {
            const FactWriter C = Out.Sub("Cell_Position", i);
            C.Number("VOB_ID", Chain.Cell_Position[i].VOB_ID);
            C.Number("Cell_ID", Chain.Cell_Position[i].Cell_ID);
        }
}

void PutSearchPointer(const FactWriter& Out, const PGCI_SRP& Pointer) {
    Out.Number("Category_Byte_1", Pointer.Category_Byte_1);
    Out.Number("Category_Byte_2", Pointer.Category_Byte_2);
    Out.Number("Parental_Mask", Pointer.Parental_Mask);
    Out.Number("Offset_of_PGC", Pointer.Offset_of_PGC);
}

void PutPGCI_UT(const FactWriter& Out, const PGCI_UT& Table) {
    Out.Number("Number_of_Language_Units", Table.Number_of_Language_Units);
    Out.Number("Last_Byte", Table.Last_Byte);
    for (std::size_t i = 0; i < Table.Language_Search_Pointers.size(); ++i) {
        const PGCI_LU_SRP& Pointer = Table.Language_Search_Pointers[i];
        const FactWriter P = Out.Sub("Language_Search_Pointers", i);
        P.Number("Language_Code", Pointer.Language_Code);
        P.Number("Language_Code_Extension", Pointer.Language_Code_Extension);
        P.Number("Menu_Existence", Pointer.Menu_Existence);
        P.Number("Offset_of_Language_Unit", Pointer.Offset_of_Language_Unit);
    }
    for (std::size_t i = 0; i < Table.Language_Units.size(); ++i) {
        const PGCI_LU& Unit = Table.Language_Units[i];
        const FactWriter U = Out.Sub("Language_Units", i);
        U.Number("Number_of_PGCs", Unit.Number_of_PGCs);
        U.Number("Last_Byte", Unit.Last_Byte);
        for (std::size_t j = 0; j < Unit.PGC_Search_Pointers.size(); ++j)
            PutSearchPointer(U.Sub("PGC_Search_Pointers", j), Unit.PGC_Search_Pointers[j]);
        for (std::size_t j = 0; j < Unit.PGCs.size(); ++j) PutPGC(U.Sub("PGCs", j), Unit.PGCs[j]);
    }
}

void PutC_ADT(const FactWriter& Out, const C_ADT& Table) {
    Out.Number("Number_of_VOBs", Table.Number_of_VOBs);
    Out.Number("Last_Byte", Table.Last_Byte);
    for (std::size_t i = 0; i < Table.Cell_Addresses.size(); ++i) {
        const CELL_ADDRESS& Cell = Table.Cell_Addresses[i];
        const FactWriter C = Out.Sub("Cell_Addresses", i);
        C.Number("VOB_ID", Cell.VOB_ID);
        C.Number("Cell_ID", Cell.Cell_ID);
        C.Number("Start_Sector", Cell.Start_Sector);
        C.Number("Last_Sector", Cell.Last_Sector);
    }
}

void PutVOBU_ADMAP(const FactWriter& Out, const VOBU_ADMAP& Map) {
    Out.Number("Last_Byte", Map.Last_Byte);
    for (std::size_t i = 0; i < Map.VOBU_Start_Sectors.size(); ++i)
        Out.Number("VOBU_Start_Sectors", i, Map.VOBU_Start_Sectors[i]);
}

void PutTT_SRPT(const FactWriter& Out, const TT_SRPT& Table) {
    Out.Number("Number_of_Titles", Table.Number_of_Titles);
    Out.Number("Last_Byte", Table.Last_Byte);
    for (std::size_t i = 0; i < Table.Titles.size(); ++i) {
        const TT_SRP& Title = Table.Titles[i];
        const FactWriter T = Out.Sub("Titles", i);
        T.Number("Title_Type", Title.Title_Type);
        T.Number("Number_of_Angles", Title.Number_of_Angles);
        T.Number("Number_of_Chapters", Title.Number_of_Chapters);
        T.Number("Parental_Mask", Title.Parental_Mask);
        T.Number("VTS_Number", Title.VTS_Number);
        T.Number("VTS_Title_Number", Title.VTS_Title_Number);
        T.Number("Start_Sector_of_VTS", Title.Start_Sector_of_VTS);
    }
}

void PutPTL_MAIT(const FactWriter& Out, const PTL_MAIT& Table) {
    Out.Number("Number_of_Countries", Table.Number_of_Countries);
    Out.Number("Number_of_Title_Sets", Table.Number_of_Title_Sets);
    Out.Number("Last_Byte", Table.Last_Byte);
    for (std::size_t i = 0; i < Table.Countries.size(); ++i) {
        const FactWriter C = Out.Sub("Countries", i);
        C.Number("Country_Code", Table.Countries[i].Country_Code);
        C.Number("Offset_of_PTL_MAI", Table.Countries[i].Offset_of_PTL_MAI);
        C.Number("Reserved", Table.Countries[i].Reserved);
    }
    for (std::size_t i = 0; i < Table.PTL_MAIs.size(); ++i) {
        const FactWriter M = Out.Sub("PTL_MAIs", i);
        for (std::size_t Row = 0; Row < 8; ++Row)
            for (std::size_t k = 0; k < Table.PTL_MAIs[i][Row].size(); ++k)
                M.Number("Rows[" + std::to_string(Row) + "]", k, Table.PTL_MAIs[i][Row][k]);
    }
}

void PutVTS_ATRT(const FactWriter& Out, const VTS_ATRT& Table) {
    Out.Number("Number_of_Title_Sets", Table.Number_of_Title_Sets);
    Out.Number("Last_Byte", Table.Last_Byte);
    for (std::size_t i = 0; i < Table.VTS_ATR_Offsets.size(); ++i)
        Out.Number("VTS_ATR_Offsets", i, Table.VTS_ATR_Offsets[i]);
    for (std::size_t i = 0; i < Table.VTS_ATRs.size(); ++i) {
        const VTS_ATR& Entry = Table.VTS_ATRs[i];
        const FactWriter A = Out.Sub("VTS_ATRs", i);
        A.Number("Last_Byte", Entry.Last_Byte);
        A.Number("VTS_Category", Entry.VTS_Category);
        PutMenuAttributes(A.Sub("Menu_Attributes"), Entry.Menu_Attributes);
        PutTitleSetAttributes(A.Sub("Title_Set_Attributes"), Entry.Title_Set_Attributes, false);
    }
}

void PutTXTDT_MGI(const FactWriter& Out, const TXTDT_MGI& Table) {
    Out.Text("Text_Identifier", Table.Text_Identifier.data(), 12);
    Out.Number("Number_of_Language_Units", Table.Number_of_Language_Units);
    Out.Number("Last_Byte", Table.Last_Byte);
    for (std::size_t i = 0; i < Table.Language_Search_Pointers.size(); ++i) {
        const TXTDT_LU_SRP& Pointer = Table.Language_Search_Pointers[i];
        const FactWriter P = Out.Sub("Language_Search_Pointers", i);
        P.Number("Language_Code", Pointer.Language_Code);
        P.Number("Character_Set", Pointer.Character_Set);
        P.Number("Offset_of_Language_Unit", Pointer.Offset_of_Language_Unit);
    }
}

void PutPTT_SRPT(const FactWriter& Out, const VTS_PTT_SRPT& Table) {
    Out.Number("Number_of_Titles", Table.Number_of_Titles);
    Out.Number("Last_Byte", Table.Last_Byte);
    for (std::size_t k = 0; k < Table.Title_Offsets.size(); ++k) Out.Number("Title_Offsets", k, Table.Title_Offsets[k]);
    for (std::size_t k = 0; k < Table.Parts.size(); ++k) {
        Out.Number("Number_of_Parts", k, Table.Parts[k].size());
        for (std::size_t j = 0; j < Table.Parts[k].size(); ++j) {
            const FactWriter P = Out.Sub("Parts[" + std::to_string(k) + "]", j);
            P.Number("PGCN", Table.Parts[k][j].PGCN);
            P.Number("PGN", Table.Parts[k][j].PGN);
        }
    }
}

void PutPGCIT(const FactWriter& Out, const VTS_PGCIT& Table) {
    Out.Number("Number_of_PGCs", Table.Number_of_PGCs);
    Out.Number("Last_Byte", Table.Last_Byte);
    for (std::size_t i = 0; i < Table.PGC_Search_Pointers.size(); ++i)
        PutSearchPointer(Out.Sub("PGC_Search_Pointers", i), Table.PGC_Search_Pointers[i]);
    for (std::size_t i = 0; i < Table.PGCs.size(); ++i) PutPGC(Out.Sub("PGCs", i), Table.PGCs[i]);
}

void PutTMAPT(const FactWriter& Out, const VTS_TMAPT& Table) {
    Out.Number("Number_of_TMAPs", Table.Number_of_TMAPs);
    Out.Number("Last_Byte", Table.Last_Byte);
    for (std::size_t i = 0; i < Table.TMAP_Offsets.size(); ++i) Out.Number("TMAP_Offsets", i, Table.TMAP_Offsets[i]);
    for (std::size_t i = 0; i < Table.TMAPs.size(); ++i) {
        const TMAP& Map = Table.TMAPs[i];
        const FactWriter M = Out.Sub("TMAPs", i);
        M.Number("Time_Unit", Map.Time_Unit);
        M.Number("Number_of_Entries", Map.Number_of_Entries);
        for (std::size_t j = 0; j < Map.Number_of_Entries && j < Map.Entries.size(); ++j)
            M.Number("Entries", j, Map.Entries[j]);
    }
}

}  // namespace

Facts FactsOfRecord(const VMG& Record) {
    Facts Result;
    const FactWriter Out(Result, "");
    Out.Text("Identifier", Record.Identifier.data(), Record.Identifier.size());
    Out.Number("Last_Sector_of_VMG", Record.Last_Sector_of_VMG);
    Out.Number("Last_Sector_of_VMGI", Record.Last_Sector_of_VMGI);
    Out.Number("Version", Record.Version);
    Out.Number("VMG_Category", std::uint32_t{Record.Reserved_3} << 24 | std::uint32_t{Record.Region_Mask} << 16 |
                                   Record.Reserved_4);
    Out.Number("Number_of_Volumes", Record.Number_of_Volumes);
    Out.Number("Volume_Number", Record.Volume_Number);
    Out.Number("Side_ID", Record.Side_ID);
    Out.Number("Number_of_Title_Sets", Record.Number_of_Title_Sets);
    Out.Text("Provider_Identifier", Record.Provider_Identifier.data(), Record.Provider_Identifier.size());
    Out.Hex("POS_Code", Record.POS_Code.data(), Record.POS_Code.size());
    Out.Number("Last_Byte_of_VMGI_MAT", Record.Last_Byte_of_VMGI_MAT);
    Out.Number("Start_Byte_of_First_Play_PGC", Record.Start_Byte_of_First_Play_PGC);
    Out.Number("Start_Sector_of_Menu_VOBS", Record.Start_Sector_of_Menu_VOBS);
    Out.Number("Start_Sector_of_TT_SRPT", Record.Start_Sector_of_TT_SRPT);
    Out.Number("Start_Sector_of_VMGM_PGCI_UT", Record.Start_Sector_of_VMGM_PGCI_UT);
    Out.Number("Start_Sector_of_PTL_MAIT", Record.Start_Sector_of_PTL_MAIT);
    Out.Number("Start_Sector_of_VTS_ATRT", Record.Start_Sector_of_VTS_ATRT);
    Out.Number("Start_Sector_of_TXTDT_MGI", Record.Start_Sector_of_TXTDT_MGI);
    Out.Number("Start_Sector_of_VMGM_C_ADT", Record.Start_Sector_of_VMGM_C_ADT);
    Out.Number("Start_Sector_of_VMGM_VOBU_ADMAP", Record.Start_Sector_of_VMGM_VOBU_ADMAP);
    PutMenuAttributes(Out.Sub("Menu_Attributes"), Record.Menu_Attributes);
    if (Record.Start_Byte_of_First_Play_PGC != 0) PutPGC(Out.Sub("First_Play_PGC"), Record.First_Play_PGC);
    if (Record.Start_Sector_of_TT_SRPT != 0) PutTT_SRPT(Out.Sub("VMG_TT_SRPT"), Record.VMG_TT_SRPT);
    if (Record.Start_Sector_of_VMGM_PGCI_UT != 0) PutPGCI_UT(Out.Sub("VMGM_PGCI_UT"), Record.VMGM_PGCI_UT);
    if (Record.Start_Sector_of_PTL_MAIT != 0) PutPTL_MAIT(Out.Sub("VMG_PTL_MAIT"), Record.VMG_PTL_MAIT);
    if (Record.Start_Sector_of_VTS_ATRT != 0) PutVTS_ATRT(Out.Sub("VMG_VTS_ATRT"), Record.VMG_VTS_ATRT);
    if (Record.Start_Sector_of_TXTDT_MGI != 0) PutTXTDT_MGI(Out.Sub("VMG_TXTDT_MGI"), Record.VMG_TXTDT_MGI);
    if (Record.Start_Sector_of_VMGM_C_ADT != 0) PutC_ADT(Out.Sub("VMGM_C_ADT"), Record.VMGM_C_ADT);
    if (Record.Start_Sector_of_VMGM_VOBU_ADMAP != 0)
        PutVOBU_ADMAP(Out.Sub("VMGM_VOBU_ADMAP"), Record.VMGM_VOBU_ADMAP);
    return Result;
}

Facts FactsOfRecord(const VTS& Record) {
    Facts Result;
    const FactWriter Out(Result, "");
    Out.Text("Identifier", Record.Identifier.data(), Record.Identifier.size());
    Out.Number("Last_Sector_of_VTS", Record.Last_Sector_of_VTS);
    Out.Number("Last_Sector_of_VTSI", Record.Last_Sector_of_VTSI);
    Out.Number("Version", Record.Version);
    Out.Number("VTS_Category", Record.VTS_Category);
    Out.Number("Last_Byte_of_VTSI_MAT", Record.Last_Byte_of_VTSI_MAT);
    Out.Number("Start_Sector_of_Menu_VOBS", Record.Start_Sector_of_Menu_VOBS);
    Out.Number("Start_Sector_of_Title_VOBS", Record.Start_Sector_of_Title_VOBS);
    Out.Number("Start_Sector_of_PTT_SRPT", Record.Start_Sector_of_PTT_SRPT);
    Out.Number("Start_Sector_of_PGCIT", Record.Start_Sector_of_PGCIT);
    Out.Number("Start_Sector_of_VTSM_PGCI_UT", Record.Start_Sector_of_VTSM_PGCI_UT);
    Out.Number("Start_Sector_of_TMAPT", Record.Start_Sector_of_TMAPT);
    Out.Number("Start_Sector_of_VTSM_C_ADT", Record.Start_Sector_of_VTSM_C_ADT);
    Out.Number("Start_Sector_of_VTSM_VOBU_ADMAP", Record.Start_Sector_of_VTSM_VOBU_ADMAP);
    Out.Number("Start_Sector_of_VTS_C_ADT", Record.Start_Sector_of_VTS_C_ADT);
    Out.Number("Start_Sector_of_VTS_VOBU_ADMAP", Record.Start_Sector_of_VTS_VOBU_ADMAP);
    PutMenuAttributes(Out.Sub("Menu_Attributes"), Record.Menu_Attributes);
    PutTitleSetAttributes(Out.Sub("Title_Set_Attributes"), Record.Title_Set_Attributes, true);
    if (Record.Start_Sector_of_PTT_SRPT != 0) PutPTT_SRPT(Out.Sub("PTT_SRPT"), Record.PTT_SRPT);
    if (Record.Start_Sector_of_PGCIT != 0) PutPGCIT(Out.Sub("PGCIT"), Record.PGCIT);
    if (Record.Start_Sector_of_VTSM_PGCI_UT != 0) PutPGCI_UT(Out.Sub("VTSM_PGCI_UT"), Record.VTSM_PGCI_UT);
    if (Record.Start_Sector_of_TMAPT != 0) PutTMAPT(Out.Sub("TMAPT"), Record.TMAPT);
    if (Record.Start_Sector_of_VTSM_C_ADT != 0) PutC_ADT(Out.Sub("VTSM_C_ADT"), Record.VTSM_C_ADT);
    if (Record.Start_Sector_of_VTSM_VOBU_ADMAP != 0)
        PutVOBU_ADMAP(Out.Sub("VTSM_VOBU_ADMAP"), Record.VTSM_VOBU_ADMAP);
    if (Record.Start_Sector_of_VTS_C_ADT != 0) PutC_ADT(Out.Sub("VTS_C_ADT"), Record.VTS_C_ADT);
    if (Record.Start_Sector_of_VTS_VOBU_ADMAP != 0) PutVOBU_ADMAP(Out.Sub("VTS_VOBU_ADMAP"), Record.VTS_VOBU_ADMAP);
    return Result;
}
