// The README's example, built against an installed Quoril: loads a title set,
// corrects its last sector and writes it back.
#include <Quoril.h>
#include <platform/MemoryStream.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc != 2) return 2;
    {   // a small title set to work on, written through the library
        VTS Fresh;
        std::memcpy(Fresh.Identifier.data(), "DVDVIDEO-VTS", 12);
        Fresh.Start_Sector_of_VTS_VOBU_ADMAP = 1;
        Fresh.VTS_VOBU_ADMAP.VOBU_Start_Sectors = {0, 10, 20};
        MemoryStream Out;
        MakeIfoVTS(Out, Fresh);
        Out.SaveToFile(argv[1]);
    }
    MemoryStream In;
    In.LoadFromFile(argv[1]);
    if (IdentifyType(In) != Ifo_Type_VTS) return 1;
    VTS Record;
    LoadIfoVTS(In, Record);
    Record.Last_Sector_of_VTS = 123456;
    MemoryStream Out;
    MakeIfoVTS(Out, Record);
    Out.SaveToFile(argv[1]);

    MemoryStream Check;
    Check.LoadFromFile(argv[1]);
    VTS Again;
    LoadIfoVTS(Check, Again);
    const bool Ok = Again.Last_Sector_of_VTS == 123456 && Again.VTS_VOBU_ADMAP_OK &&
                    Again.VTS_VOBU_ADMAP.VOBU_Start_Sectors.size() == 3;
    std::puts(Ok ? "ok" : "wrong");
    return Ok ? 0 : 1;
}
