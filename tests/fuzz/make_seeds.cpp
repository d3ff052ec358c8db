// Writes the seed corpus of the fuzz targets into OUTDIR/<reader>/: configuration files, memory
// images, the used part of a library and operating system files, all made by the program.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "config/configfile.h"
#include "config/editing.h"
#include "config/library.h"
#include "image/deviceimage.h"
#include "image/osimage.h"

using namespace kvr::core;

namespace {

std::vector<Configuration> configurations()
{
    std::vector<Configuration> list(3);
    Configuration& b = list[1];
    b.setSystemName("Seed B");
    b.setRoutingMode(7);
    b.input(InputId::A).peqBandCount = 6;
    for (int k = 0; k < 6; ++k) {
        b.input(InputId::A).peq[static_cast<size_t>(k)].Tipo = static_cast<uint8_t>(k + 1);
        b.input(InputId::A).peq[static_cast<size_t>(k)].Gain = k - 3;
    }
    setCrossoverFamily(b, 1, CrossoverSide::High, 3);
    setCrossoverOrder(b, 1, CrossoverSide::High, 7);
    setCrossoverFamily(b, 2, CrossoverSide::Low, 2);
    setCrossoverOrder(b, 2, CrossoverSide::Low, 8);
    Configuration& c = list[2];
    c.setSystemName("Seed C");
    setCrossoverFamily(c, 3, CrossoverSide::Low, 4);
    setCrossoverOrder(c, 3, CrossoverSide::Low, 5);
    c.output(2).dynamics.BypassF = 1;
    c.output(4).dynamics.CriKnee = 1;
    c.output(4).peqxCount = 1;
    setOutputDelayPosition(c, 1, 1500);
    return list;
}

bool write(const std::filesystem::path& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds OUTDIR\n");
        return 2;
    }
    const std::filesystem::path root = argv[1];
    for (const char* reader : {"config_file", "device_image", "library", "os_file", "measurement"})
        std::filesystem::create_directories(root / reader);
    const auto list = configurations();
    MemoryLibrary library;
    bool ok = true;
    for (size_t i = 0; i < list.size(); ++i) {
        const std::string name = "seed" + std::to_string(i + 1);
        ok &=
            write(root / "config_file" / (name + ".kv4"), encodeConfigurationFile(list[i], "/seeds/" + name + ".kv4"));
        auto image = BuildDeviceImage(list[i], i == 1);
        if (!image) return 1;
        ok &= write(root / "device_image" / (name + ".bin"), *image);
        ok &= library.append(*image).ok();
    }
    // The used part of the library: the fuzz target pads it to full size itself.
    const std::span<const uint8_t> last = library.image(library.count());
    const size_t used = static_cast<size_t>(last.data() - library.buffer().data()) + last.size();
    ok &= write(root / "library" / "seed.kvl",
                Bytes(library.buffer().begin(), library.buffer().begin() + static_cast<long>(used)));
    for (size_t n : {size_t(16), size_t(58), size_t(1000)}) {
        Bytes os(n);
        for (size_t i = 0; i < n; ++i)
            os[i] = static_cast<uint8_t>(i * 37 + 11);
        const std::string text = osFileText(os);
        ok &= write(root / "os_file" / ("seed" + std::to_string(n) + ".asc"), Bytes(text.begin(), text.end()));
    }
    // Measurement exports: one of each layout the readers know.
    const std::pair<const char*, std::string> measurements[] = {
        {"clio.txt", "    Freq\t      dB\t   Phase\n   20.00\t   85.10\t  -12.30\n 1000.00\t   90.20\t   45.00\n"},
        {"clio2.txt", "Freq [Hz]  dB  Phase\n     20.0        85.1000           -12.30\n"
                      "   1000.0        90.2000            45.00\n"},
        {"mlssa.txt", "\"title\"\n      \"Hz\"  \"Mag (dB)\"       \"deg\"\n  18.42571,   84.52863,  -84.71303\n"
                      "1000.00000,   90.00000,   45.00000\n"},
        {"winair.txt",
         " WinAIRR saved file\n\n\n\n      20.0     85.1000    -12.3000\n    1000.0     90.2000     45.0000\n"},
        {"smaart.txt", "; Smaart\n; Frequency (Hz)\tMagnitude (dB)\tPhase (degrees)\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n"
                       "0.0\t0.63\t5.85\n187.5\t1.2\t7.5\n"},
        {"calsod.txt", "CALSOD\n\n\n\n\n\n\n\n     20.0   85.10  -12.30\n   1000.0   90.20   45.00\n"},
        {"frd.frd", "* Data: db(Response), Group Delay (sec)\r\n    1.000   +65.6568    +0.0000  \r\n"
                    "   20.000   +75.1000    -0.0010  \r\n"},
        {"zma.zma", "10.0000\t7.4867\t30.2638\n20.0000\t8.1000\t31.0000"},
        {"rew.txt", "* Measurement data measured by REW V5.20.13\n* Freq(Hz) SPL(dB) Phase(degrees)\n"
                    "20.000000 89.370 7.6566\n20000.000000 68.945 24.5125\n"},
    };
    for (const auto& [name, text] : measurements)
        ok &= write(root / "measurement" / name, Bytes(text.begin(), text.end()));
    return ok ? 0 : 1;
}
