#include "DvdreadFacts.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <dvdread/dvd_reader.h>
#include <dvdread/ifo_read.h>
#include <dvdread/ifo_types.h>

namespace {

// Packs bit fields most significant bit first, the order of the DVD-Video
// format, into the bytes that hold them in the file.
class BitPacker {
public:
    BitPacker& Put(std::uint32_t Value, unsigned Width) {
        for (unsigned Bit = Width; Bit-- > 0;) {
            if (Count % 8 == 0) Bytes.push_back(0);
            if ((Value >> Bit) & 1U) Bytes.back() |= static_cast<std::uint8_t>(0x80U >> (Count % 8));
            ++Count;
        }
        return *this;
    }
    const std::uint8_t* Data() const { return Bytes.data(); }
    std::size_t Size() const { return Bytes.size(); }

private:
    std::vector<std::uint8_t> Bytes;
    unsigned Count = 0;
};

std::vector<std::uint8_t> BigEndian(std::uint64_t Value, unsigned Width) {
    std::vector<std::uint8_t> Bytes(Width);
    for (unsigned i = 0; i < Width; ++i) Bytes[Width - 1 - i] = static_cast<std::uint8_t>(Value >> (8 * i));
    return Bytes;
}

void PutBigEndian(const FactWriter& Out, const std::string& Name, std::size_t Index, std::uint64_t Value,
                  unsigned Width) {
    const auto Bytes = BigEndian(Value, Width);
    Out.Hex(Name, Index, Bytes.data(), Bytes.size());
}

BitPacker VideoBits(const video_attr_t& V) {
    BitPacker B;
    B.Put(V.mpeg_version, 2).Put(V.video_format, 2).Put(V.display_aspect_ratio, 2).Put(V.permitted_df, 2);
    B.Put(V.line21_cc_1, 1).Put(V.line21_cc_2, 1).Put(V.unknown1, 1).Put(V.bit_rate, 1);
    B.Put(V.picture_size, 2).Put(V.letterboxed, 1).Put(V.film_mode, 1);
    return B;
}

BitPacker AudioBits(const audio_attr_t& A) {
    BitPacker B;
    B.Put(A.audio_format, 3).Put(A.multichannel_extension, 1).Put(A.lang_type, 2).Put(A.application_mode, 2);
    B.Put(A.quantization, 2).Put(A.sample_frequency, 2).Put(A.unknown1, 1).Put(A.channels, 3);
    B.Put(A.lang_code, 16).Put(A.lang_extension, 8).Put(A.code_extension, 8).Put(A.unknown3, 8);
    if (A.application_mode == 2) {
        B.Put(A.app_info.surround.unknown5, 4).Put(A.app_info.surround.dolby_encoded, 1);
        B.Put(A.app_info.surround.unknown6, 3);
    } else {
        B.Put(A.app_info.karaoke.unknown4, 1).Put(A.app_info.karaoke.channel_assignment, 3);
        B.Put(A.app_info.karaoke.version, 2).Put(A.app_info.karaoke.mc_intro, 1).Put(A.app_info.karaoke.mode, 1);
    }
    return B;
}

BitPacker SubpictureBits(const subp_attr_t& S) {
    BitPacker B;
    B.Put(S.code_mode, 3).Put(S.zero1, 3).Put(S.type, 2).Put(S.zero2, 8);
    B.Put(S.lang_code, 16).Put(S.lang_extension, 8).Put(S.code_extension, 8);
    return B;
}

BitPacker MultichannelBits(const multichannel_ext_t& M) {
    BitPacker B;
    B.Put(M.zero1, 7).Put(M.ach0_gme, 1).Put(M.zero2, 7).Put(M.ach1_gme, 1);
    B.Put(M.zero3, 4).Put(M.ach2_gv1e, 1).Put(M.ach2_gv2e, 1).Put(M.ach2_gm1e, 1).Put(M.ach2_gm2e, 1);
    B.Put(M.zero4, 4).Put(M.ach3_gv1e, 1).Put(M.ach3_gv2e, 1).Put(M.ach3_gmAe, 1).Put(M.ach3_se2e, 1);
    B.Put(M.zero5, 4).Put(M.ach4_gv1e, 1).Put(M.ach4_gv2e, 1).Put(M.ach4_gmBe, 1).Put(M.ach4_seBe, 1);
    for (std::uint8_t Byte : M.zero6) B.Put(Byte, 8);
    return B;
}

BitPacker UserOperationBits(const user_ops_t& U) {
    BitPacker B;
    B.Put(U.zero, 7).Put(U.video_pres_mode_change, 1);
    B.Put(U.karaoke_audio_pres_mode_change, 1).Put(U.angle_change, 1).Put(U.subpic_stream_change, 1);
    B.Put(U.audio_stream_change, 1).Put(U.pause_on, 1).Put(U.still_off, 1).Put(U.button_select_or_activate, 1);
    B.Put(U.resume, 1).Put(U.chapter_menu_call, 1).Put(U.angle_menu_call, 1).Put(U.audio_menu_call, 1);
    B.Put(U.subpic_menu_call, 1).Put(U.root_menu_call, 1).Put(U.title_menu_call, 1).Put(U.backward_scan, 1);
    B.Put(U.forward_scan, 1).Put(U.next_pg_search, 1).Put(U.prev_or_top_pg_search, 1);
    B.Put(U.time_or_chapter_search, 1).Put(U.go_up, 1).Put(U.stop, 1).Put(U.title_play, 1);
    B.Put(U.chapter_search_or_play, 1).Put(U.title_or_time_play, 1);
    return B;
}

BitPacker CellCategoryBits(const cell_playback_t& C) {
    BitPacker B;
    B.Put(C.block_mode, 2).Put(C.block_type, 2).Put(C.seamless_play, 1).Put(C.interleaved, 1);
    B.Put(C.stc_discontinuity, 1).Put(C.seamless_angle, 1).Put(C.zero_1, 1).Put(C.playback_mode, 1);
    B.Put(C.restricted, 1).Put(C.cell_type, 5);
    return B;
}

BitPacker TitleTypeBits(const playback_type_t& P) {
    BitPacker B;
    B.Put(P.zero_1, 1).Put(P.multi_or_random_pgc_title, 1).Put(P.jlc_exists_in_cell_cmd, 1);
    B.Put(P.jlc_exists_in_prepost_cmd, 1).Put(P.jlc_exists_in_button_cmd, 1).Put(P.jlc_exists_in_tt_dom, 1);
    B.Put(P.chapter_search_or_play, 1).Put(P.title_or_time_play, 1);
    return B;
}

void PutTime(const FactWriter& Out, const std::string& Name, const dvd_time_t& Time) {
    const std::uint8_t Bytes[4] = {Time.hour, Time.minute, Time.second, Time.frame_u};
    Out.Hex(Name, Bytes, 4);
}

void PutBits(const FactWriter& Out, const std::string& Name, const BitPacker& Bits) {
    Out.Hex(Name, Bits.Data(), Bits.Size());
}

void PutBits(const FactWriter& Out, const std::string& Name, std::size_t Index, const BitPacker& Bits) {
    Out.Hex(Name, Index, Bits.Data(), Bits.Size());
}

// A menu attribute block: one audio and one subpicture stream. The stream
// counts are single bytes in libdvdread; the byte before each is the high
// byte of the 16-bit count that the library reads.
void PutMenuAttributes(const FactWriter& Out, const video_attr_t& Video, unsigned Audio_Count_High,
                       unsigned Audio_Count, const audio_attr_t& Audio, unsigned Subpicture_Count_High,
                       unsigned Subpicture_Count, const subp_attr_t& Subpicture) {
    PutBits(Out, "Video_Attributes", VideoBits(Video));
    Out.Number("Number_of_Audio_Streams", Audio_Count_High << 8 | Audio_Count);
    PutBits(Out, "Audio_Attributes", 0, AudioBits(Audio));
    Out.Number("Number_of_Subpicture_Streams", Subpicture_Count_High << 8 | Subpicture_Count);
    PutBits(Out, "Subpicture_Attributes", SubpictureBits(Subpicture));
}

void PutTitleSetAttributes(const FactWriter& Out, const video_attr_t& Video, unsigned Audio_Count_High,
                           unsigned Audio_Count, const audio_attr_t (&Audio)[8], unsigned Subpicture_Count_High,
                           unsigned Subpicture_Count, const subp_attr_t (&Subpicture)[32]) {
    PutBits(Out, "Video_Attributes", VideoBits(Video));
    Out.Number("Number_of_Audio_Streams", Audio_Count_High << 8 | Audio_Count);
    for (std::size_t i = 0; i < 8; ++i) PutBits(Out, "Audio_Attributes", i, AudioBits(Audio[i]));
    Out.Number("Number_of_Subpicture_Streams", Subpicture_Count_High << 8 | Subpicture_Count);
    for (std::size_t i = 0; i < 32; ++i) PutBits(Out, "Subpicture_Attributes", i, SubpictureBits(Subpicture[i]));
}

void PutPGC(const FactWriter& Out, const pgc_t& Chain) {
    Out.Number("Number_of_Programs", Chain.nr_of_programs);
    Out.Number("Number_of_Cells", Chain.nr_of_cells);
    PutTime(Out, "Playback_Time", Chain.playback_time);
    PutBits(Out, "Prohibited_User_Operations", UserOperationBits(Chain.prohibited_ops));
    for (std::size_t i = 0; i < 8; ++i) PutBigEndian(Out, "Audio_Stream_Control", i, Chain.audio_control[i], 2);
    for (std::size_t i = 0; i < 32; ++i) PutBigEndian(Out, "Subpicture_Stream_Control", i, Chain.subp_control[i], 4);
    Out.Number("Next_PGC_Number", Chain.next_pgc_nr);
    Out.Number("Previous_PGC_Number", Chain.prev_pgc_nr);
    Out.Number("GoUp_PGC_Number", Chain.goup_pgc_nr);
    // Bytes 0xA2 and 0xA3, compared by position: libdvdread names the first
    // the program playback mode and the second the still time, the library's
    // record names them Still_Time and Playback_Mode.
    Out.Number("Still_Time", Chain.pg_playback_mode);
    Out.Number("Playback_Mode", Chain.still_time);
    for (std::size_t i = 0; i < 16; ++i) PutBigEndian(Out, "Palette", i, Chain.palette[i], 4);
    Out.Number("Offset_of_Command_Table", Chain.command_tbl_offset);
    Out.Number("Offset_of_Program_Map", Chain.program_map_offset);
    Out.Number("Offset_of_Cell_Playback", Chain.cell_playback_offset);
    Out.Number("Offset_of_Cell_Position", Chain.cell_position_offset);
    if (Chain.command_tbl != nullptr) {
        const pgc_command_tbl_t& Commands = *Chain.command_tbl;
        Out.Number("Number_of_Pre_Commands", Commands.nr_of_pre);
        Out.Number("Number_of_Post_Commands", Commands.nr_of_post);
        Out.Number("Number_of_Cell_Commands", Commands.nr_of_cell);
        Out.Number("Command_Table_Last_Byte", Commands.last_byte);
        for (std::size_t i = 0; i < Commands.nr_of_pre; ++i) Out.Hex("Pre_Commands", i, Commands.pre_cmds[i].bytes, 8);
        for (std::size_t i = 0; i < Commands.nr_of_post; ++i)
            Out.Hex("Post_Commands", i, Commands.post_cmds[i].bytes, 8);
        for (std::size_t i = 0; i < Commands.nr_of_cell; ++i)
            Out.Hex("Cell_Commands", i, Commands.cell_cmds[i].bytes, 8);
    }
    if (Chain.program_map != nullptr)
        for (std::size_t i = 0; i < Chain.nr_of_programs; ++i) Out.Number("Program_Map", i, Chain.program_map[i]);
    if (Chain.cell_playback != nullptr)
        for (std::size_t i = 0; i < Chain.nr_of_cells; ++i) {
            const cell_playback_t& Cell = Chain.cell_playback[i];
            const FactWriter C = Out.Sub("Cell_Playback", i);
            PutBits(C, "Category", CellCategoryBits(Cell));
            C.Number("Still_Time", Cell.still_time);
            C.Number("Command_Number", Cell.cell_cmd_nr);
            PutTime(C, "Playback_Time", Cell.playback_time);
            C.Number("First_VOBU_Start_Sector", Cell.first_sector);
            C.Number("First_ILVU_End_Sector", Cell.first_ilvu_end_sector);
            C.Number("Last_VOBU_Start_Sector", Cell.last_vobu_start_sector);
            C.Number("Last_VOBU_End_Sector", Cell.last_sector);
        }
    if (Chain.cell_position != nullptr)
        for (std::size_t i = 0; i < Chain.nr_of_cells; ++i) {
            const FactWriter C = Out.Sub("Cell_Position", i);
            C.Number("VOB_ID", Chain.cell_position[i].vob_id_nr);
            C.Number("Cell_ID", Chain.cell_position[i].cell_nr);
        }
}

void PutSearchPointer(const FactWriter& Out, const pgci_srp_t& Pointer) {
    Out.Number("Category_Byte_1", Pointer.entry_id);
    BitPacker Byte_2;
    Byte_2.Put(Pointer.block_mode, 2).Put(Pointer.block_type, 2).Put(Pointer.zero_1, 4);
    Out.Number("Category_Byte_2", Byte_2.Data()[0]);
    Out.Number("Parental_Mask", Pointer.ptl_id_mask);
    Out.Number("Offset_of_PGC", Pointer.pgc_start_byte);
}

void PutPGCIT(const FactWriter& Out, const pgcit_t& Table) {
    Out.Number("Number_of_PGCs", Table.nr_of_pgci_srp);
    Out.Number("Last_Byte", Table.last_byte);
    for (std::size_t i = 0; i < Table.nr_of_pgci_srp; ++i) {
        PutSearchPointer(Out.Sub("PGC_Search_Pointers", i), Table.pgci_srp[i]);
        if (Table.pgci_srp[i].pgc != nullptr) PutPGC(Out.Sub("PGCs", i), *Table.pgci_srp[i].pgc);
    }
}

void PutPGCI_UT(const FactWriter& Out, const pgci_ut_t& Table) {
    Out.Number("Number_of_Language_Units", Table.nr_of_lus);
    Out.Number("Last_Byte", Table.last_byte);
    for (std::size_t i = 0; i < Table.nr_of_lus; ++i) {
        const pgci_lu_t& Unit = Table.lu[i];
        const FactWriter P = Out.Sub("Language_Search_Pointers", i);
        P.Number("Language_Code", Unit.lang_code);
        P.Number("Language_Code_Extension", Unit.lang_extension);
        P.Number("Menu_Existence", Unit.exists);
        P.Number("Offset_of_Language_Unit", Unit.lang_start_byte);
        if (Unit.pgcit != nullptr) PutPGCIT(Out.Sub("Language_Units", i), *Unit.pgcit);
    }
}

void PutC_ADT(const FactWriter& Out, const c_adt_t& Table) {
    Out.Number("Number_of_VOBs", Table.nr_of_vobs);
    Out.Number("Last_Byte", Table.last_byte);
    const std::size_t Entries = (Table.last_byte + 1U - C_ADT_SIZE) / sizeof(cell_adr_t);
    for (std::size_t i = 0; i < Entries; ++i) {
        const cell_adr_t& Cell = Table.cell_adr_table[i];
        const FactWriter C = Out.Sub("Cell_Addresses", i);
        C.Number("VOB_ID", Cell.vob_id);
        C.Number("Cell_ID", Cell.cell_id);
        C.Number("Start_Sector", Cell.start_sector);
        C.Number("Last_Sector", Cell.last_sector);
    }
}

void PutVOBU_ADMAP(const FactWriter& Out, const vobu_admap_t& Map) {
    Out.Number("Last_Byte", Map.last_byte);
    const std::size_t Entries = (Map.last_byte + 1U - VOBU_ADMAP_SIZE) / sizeof(std::uint32_t);
    for (std::size_t i = 0; i < Entries; ++i) Out.Number("VOBU_Start_Sectors", i, Map.vobu_start_sectors[i]);
}

void PutTT_SRPT(const FactWriter& Out, const tt_srpt_t& Table) {
    Out.Number("Number_of_Titles", Table.nr_of_srpts);
    Out.Number("Last_Byte", Table.last_byte);
    for (std::size_t i = 0; i < Table.nr_of_srpts; ++i) {
        const title_info_t& Title = Table.title[i];
        const FactWriter T = Out.Sub("Titles", i);
        T.Number("Title_Type", TitleTypeBits(Title.pb_ty).Data()[0]);
        T.Number("Number_of_Angles", Title.nr_of_angles);
        T.Number("Number_of_Chapters", Title.nr_of_ptts);
        T.Number("Parental_Mask", Title.parental_id);
        T.Number("VTS_Number", Title.title_set_nr);
        T.Number("VTS_Title_Number", Title.vts_ttn);
        T.Number("Start_Sector_of_VTS", Title.title_set_sector);
    }
}

// libdvdread holds a country's masks by title set and then by level (level
// 1 first); the file holds 8 rows by level (level 8 first), each with one
// mask per title set.
void PutPTL_MAIT(const FactWriter& Out, const ptl_mait_t& Table) {
    Out.Number("Number_of_Countries", Table.nr_of_countries);
    Out.Number("Number_of_Title_Sets", Table.nr_of_vtss);
    Out.Number("Last_Byte", Table.last_byte);
    for (std::size_t i = 0; i < Table.nr_of_countries; ++i) {
        const ptl_mait_country_t& Country = Table.countries[i];
        const FactWriter C = Out.Sub("Countries", i);
        C.Number("Country_Code", Country.country_code);
        C.Number("Offset_of_PTL_MAI", std::uint32_t{Country.zero_1} << 16 | Country.pf_ptl_mai_start_byte);
        C.Number("Reserved", Country.zero_2);
        const FactWriter M = Out.Sub("PTL_MAIs", i);
        for (std::size_t Row = 0; Row < 8; ++Row)
            for (std::size_t k = 0; k <= Table.nr_of_vtss; ++k)
                M.Number("Rows[" + std::to_string(Row) + "]", k, Country.pf_ptl_mai[k][7 - Row]);
    }
}

void PutVTS_ATRT(const FactWriter& Out, const vts_atrt_t& Table) {
    Out.Number("Number_of_Title_Sets", Table.nr_of_vtss);
    Out.Number("Last_Byte", Table.last_byte);
    for (std::size_t i = 0; i < Table.nr_of_vtss; ++i) {
        Out.Number("VTS_ATR_Offsets", i, Table.vts_atrt_offsets[i]);
        const vts_attributes_t& Entry = Table.vts[i];
        const FactWriter A = Out.Sub("VTS_ATRs", i);
        A.Number("Last_Byte", Entry.last_byte);
        A.Number("VTS_Category", Entry.vts_cat);
        PutMenuAttributes(A.Sub("Menu_Attributes"), Entry.vtsm_vobs_attr, Entry.zero_1, Entry.nr_of_vtsm_audio_streams,
                          Entry.vtsm_audio_attr, Entry.zero_4, Entry.nr_of_vtsm_subp_streams, Entry.vtsm_subp_attr);
        PutTitleSetAttributes(A.Sub("Title_Set_Attributes"), Entry.vtstt_vobs_video_attr, Entry.zero_7,
                              Entry.nr_of_vtstt_audio_streams, Entry.vtstt_audio_attr, Entry.zero_9,
                              Entry.nr_of_vtstt_subp_streams, Entry.vtstt_subp_attr);
    }
}

void PutTXTDT_MGI(const FactWriter& Out, const txtdt_mgi_t& Table) {
    Out.Text("Text_Identifier", Table.disc_name, 12);
    Out.Number("Number_of_Language_Units", Table.nr_of_language_units);
    Out.Number("Last_Byte", Table.last_byte);
    for (std::size_t i = 0; i < Table.nr_of_language_units; ++i) {
        const txtdt_lu_t& Unit = Table.lu[i];
        const FactWriter P = Out.Sub("Language_Search_Pointers", i);
        P.Number("Language_Code", Unit.lang_code);
        P.Number("Character_Set", std::uint32_t{Unit.zero_1} << 8 | Unit.char_set);
        P.Number("Offset_of_Language_Unit", Unit.txtdt_start_byte);
    }
}

void PutPTT_SRPT(const FactWriter& Out, const vts_ptt_srpt_t& Table) {
    Out.Number("Number_of_Titles", Table.nr_of_srpts);
    Out.Number("Last_Byte", Table.last_byte);
    for (std::size_t k = 0; k < Table.nr_of_srpts; ++k) {
        Out.Number("Title_Offsets", k, Table.ttu_offset[k]);
        Out.Number("Number_of_Parts", k, Table.title[k].nr_of_ptts);
        for (std::size_t j = 0; j < Table.title[k].nr_of_ptts; ++j) {
            const FactWriter P = Out.Sub("Parts[" + std::to_string(k) + "]", j);
            P.Number("PGCN", Table.title[k].ptt[j].pgcn);
            P.Number("PGN", Table.title[k].ptt[j].pgn);
        }
    }
}

void PutTMAPT(const FactWriter& Out, const vts_tmapt_t& Table) {
    Out.Number("Number_of_TMAPs", Table.nr_of_tmaps);
    Out.Number("Last_Byte", Table.last_byte);
    for (std::size_t i = 0; i < Table.nr_of_tmaps; ++i) {
        Out.Number("TMAP_Offsets", i, Table.tmap_offset[i]);
        const vts_tmap_t& Map = Table.tmap[i];
        const FactWriter M = Out.Sub("TMAPs", i);
        M.Number("Time_Unit", Map.tmu);
        M.Number("Number_of_Entries", Map.nr_of_entries);
        for (std::size_t j = 0; j < Map.nr_of_entries; ++j) M.Number("Entries", j, Map.map_ent[j]);
    }
}

void PutVMG(const FactWriter& Out, const ifo_handle_t& Ifo) {
    const vmgi_mat_t& Header = *Ifo.vmgi_mat;
    Out.Text("Identifier", Header.vmg_identifier, sizeof Header.vmg_identifier);
    Out.Number("Last_Sector_of_VMG", Header.vmg_last_sector);
    Out.Number("Last_Sector_of_VMGI", Header.vmgi_last_sector);
    Out.Number("Version", Header.specification_version);
    Out.Number("VMG_Category", Header.vmg_category);
    Out.Number("Number_of_Volumes", Header.vmg_nr_of_volumes);
    Out.Number("Volume_Number", Header.vmg_this_volume_nr);
    Out.Number("Side_ID", Header.disc_side);
    Out.Number("Number_of_Title_Sets", Header.vmg_nr_of_title_sets);
    Out.Text("Provider_Identifier", Header.provider_identifier, sizeof Header.provider_identifier);
    const auto Pos_Code = BigEndian(Header.vmg_pos_code, 8);
    Out.Hex("POS_Code", Pos_Code.data(), Pos_Code.size());
    Out.Number("Last_Byte_of_VMGI_MAT", Header.vmgi_last_byte);
    Out.Number("Start_Byte_of_First_Play_PGC", Header.first_play_pgc);
    Out.Number("Start_Sector_of_Menu_VOBS", Header.vmgm_vobs);
    Out.Number("Start_Sector_of_TT_SRPT", Header.tt_srpt);
    Out.Number("Start_Sector_of_VMGM_PGCI_UT", Header.vmgm_pgci_ut);
    Out.Number("Start_Sector_of_PTL_MAIT", Header.ptl_mait);
    Out.Number("Start_Sector_of_VTS_ATRT", Header.vts_atrt);
    Out.Number("Start_Sector_of_TXTDT_MGI", Header.txtdt_mgi);
    Out.Number("Start_Sector_of_VMGM_C_ADT", Header.vmgm_c_adt);
    Out.Number("Start_Sector_of_VMGM_VOBU_ADMAP", Header.vmgm_vobu_admap);
    PutMenuAttributes(Out.Sub("Menu_Attributes"), Header.vmgm_video_attr, Header.zero_7,
                      Header.nr_of_vmgm_audio_streams, Header.vmgm_audio_attr, Header.zero_9[16],
                      Header.nr_of_vmgm_subp_streams, Header.vmgm_subp_attr);
    if (Ifo.first_play_pgc != nullptr) PutPGC(Out.Sub("First_Play_PGC"), *Ifo.first_play_pgc);
    if (Ifo.tt_srpt != nullptr) PutTT_SRPT(Out.Sub("VMG_TT_SRPT"), *Ifo.tt_srpt);
    if (Ifo.pgci_ut != nullptr) PutPGCI_UT(Out.Sub("VMGM_PGCI_UT"), *Ifo.pgci_ut);
    if (Ifo.ptl_mait != nullptr) PutPTL_MAIT(Out.Sub("VMG_PTL_MAIT"), *Ifo.ptl_mait);
    if (Ifo.vts_atrt != nullptr) PutVTS_ATRT(Out.Sub("VMG_VTS_ATRT"), *Ifo.vts_atrt);
    if (Ifo.txtdt_mgi != nullptr) PutTXTDT_MGI(Out.Sub("VMG_TXTDT_MGI"), *Ifo.txtdt_mgi);
    if (Ifo.menu_c_adt != nullptr) PutC_ADT(Out.Sub("VMGM_C_ADT"), *Ifo.menu_c_adt);
    if (Ifo.menu_vobu_admap != nullptr) PutVOBU_ADMAP(Out.Sub("VMGM_VOBU_ADMAP"), *Ifo.menu_vobu_admap);
}

void PutVTS(const FactWriter& Out, const ifo_handle_t& Ifo) {
    const vtsi_mat_t& Header = *Ifo.vtsi_mat;
    Out.Text("Identifier", Header.vts_identifier, sizeof Header.vts_identifier);
    Out.Number("Last_Sector_of_VTS", Header.vts_last_sector);
    Out.Number("Last_Sector_of_VTSI", Header.vtsi_last_sector);
    Out.Number("Version", Header.specification_version);
    Out.Number("VTS_Category", Header.vts_category);
    Out.Number("Last_Byte_of_VTSI_MAT", Header.vtsi_last_byte);
    Out.Number("Start_Sector_of_Menu_VOBS", Header.vtsm_vobs);
    Out.Number("Start_Sector_of_Title_VOBS", Header.vtstt_vobs);
    Out.Number("Start_Sector_of_PTT_SRPT", Header.vts_ptt_srpt);
    Out.Number("Start_Sector_of_PGCIT", Header.vts_pgcit);
    Out.Number("Start_Sector_of_VTSM_PGCI_UT", Header.vtsm_pgci_ut);
    Out.Number("Start_Sector_of_TMAPT", Header.vts_tmapt);
    Out.Number("Start_Sector_of_VTSM_C_ADT", Header.vtsm_c_adt);
    Out.Number("Start_Sector_of_VTSM_VOBU_ADMAP", Header.vtsm_vobu_admap);
    Out.Number("Start_Sector_of_VTS_C_ADT", Header.vts_c_adt);
    Out.Number("Start_Sector_of_VTS_VOBU_ADMAP", Header.vts_vobu_admap);
    PutMenuAttributes(Out.Sub("Menu_Attributes"), Header.vtsm_video_attr, Header.zero_14,
                      Header.nr_of_vtsm_audio_streams, Header.vtsm_audio_attr, Header.zero_16[16],
                      Header.nr_of_vtsm_subp_streams, Header.vtsm_subp_attr);
    const FactWriter Title = Out.Sub("Title_Set_Attributes");
    PutTitleSetAttributes(Title, Header.vts_video_attr, Header.zero_19, Header.nr_of_vts_audio_streams,
                          Header.vts_audio_attr, Header.zero_20[16], Header.nr_of_vts_subp_streams,
                          Header.vts_subp_attr);
    for (std::size_t i = 0; i < 8; ++i)
        PutBits(Title, "Multichannel_Extension", i, MultichannelBits(Header.vts_mu_audio_attr[i]));
    if (Ifo.vts_ptt_srpt != nullptr) PutPTT_SRPT(Out.Sub("PTT_SRPT"), *Ifo.vts_ptt_srpt);
    if (Ifo.vts_pgcit != nullptr) PutPGCIT(Out.Sub("PGCIT"), *Ifo.vts_pgcit);
    if (Ifo.pgci_ut != nullptr) PutPGCI_UT(Out.Sub("VTSM_PGCI_UT"), *Ifo.pgci_ut);
    if (Ifo.vts_tmapt != nullptr) PutTMAPT(Out.Sub("TMAPT"), *Ifo.vts_tmapt);
    if (Ifo.menu_c_adt != nullptr) PutC_ADT(Out.Sub("VTSM_C_ADT"), *Ifo.menu_c_adt);
    if (Ifo.menu_vobu_admap != nullptr) PutVOBU_ADMAP(Out.Sub("VTSM_VOBU_ADMAP"), *Ifo.menu_vobu_admap);
    if (Ifo.vts_c_adt != nullptr) PutC_ADT(Out.Sub("VTS_C_ADT"), *Ifo.vts_c_adt);
    if (Ifo.vts_vobu_admap != nullptr) PutVOBU_ADMAP(Out.Sub("VTS_VOBU_ADMAP"), *Ifo.vts_vobu_admap);
}

void CollectMessage(void* Messages, dvd_logger_level_t, const char* Format, va_list Arguments) {
    char Line[1024];
    std::vsnprintf(Line, sizeof Line, Format, Arguments);
    static_cast<std::vector<std::string>*>(Messages)->push_back(Line);
}

}  // namespace

DvdreadResult ParseWithDvdread(const std::filesystem::path& Disc, int Title_Set) {
    DvdreadResult Result;
    const dvd_logger_cb Logger{CollectMessage};
    dvd_reader_t* Reader = DVDOpen2(&Result.Messages, &Logger, Disc.c_str());
    if (Reader == nullptr) return Result;
    ifo_handle_t* Ifo = ifoOpen(Reader, Title_Set);
    if (Ifo != nullptr) {
        Result.Opened = true;
        const FactWriter Out(Result.Content, "");
        if (Ifo->vmgi_mat != nullptr) PutVMG(Out, *Ifo);
        if (Ifo->vtsi_mat != nullptr) PutVTS(Out, *Ifo);
        ifoClose(Ifo);
    }
    DVDClose(Reader);
    return Result;
}
