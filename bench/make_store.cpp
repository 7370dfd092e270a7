// SPDX-License-Identifier: MIT
// Writes a large valid store document of about the requested size, the way the library writes
// one (same indentation, same id numbering), so that reading it and writing it back gives the
// same text apart from the locations.
//
//   make_store MEGABYTES FILE
//
// Shape: 50 published APIs, 200 software modules (settings, a structure, physical names and
// ranges), up to 1,000 hardware assets and 1,000 plain sessions, and as many driver sessions as
// the size asks for, at most 60,000; beyond that the driver sessions carry more settings. Every
// second driver session has a logical name.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

class tOut {
 public:
  explicit tOut(std::FILE* file) : file_(file) { text_.reserve(1 << 20); }
  ~tOut() { Flush(); }
  void Line(int depth, const std::string& text) {
    text_.append(static_cast<size_t>(depth) * 2, ' ');
    text_ += text;
    text_ += '\n';
    if (text_.size() > (1 << 20)) Flush();
  }
  void Text(int depth, const char* element, const std::string& value) {
    if (value.empty())
      Line(depth, std::string("<") + element + "/>");
    else
      Line(depth, std::string("<") + element + ">" + value + "</" + element + ">");
  }
  void Flush() {
    if (std::fwrite(text_.data(), 1, text_.size(), file_) != text_.size()) std::exit(1);
    text_.clear();
  }

 private:
  std::FILE* file_;
  std::string text_;
};

std::string Id(long n) { return "id=\"p" + std::to_string(n) + "\""; }
std::string Ref(const char* element, long n) {
  return std::string("<") + element + " idref=\"p" + std::to_string(n) + "\"/>";
}

// One data component of a leaf kind; takes the next id.
void Component(tOut& out, int depth, long& next, const char* type, const std::string& name,
               const std::string& units, const std::string& value,
               const char* usedInSession = "Required") {
  const std::string element = std::string("Zav") + type;
  out.Line(depth, "<" + element + " " + Id(next++) + ">");
  out.Text(depth + 1, "Name", name);
  out.Text(depth + 1, "Description", "");
  out.Text(depth + 1, "ReadOnly", "0");
  out.Text(depth + 1, "UsedInSession", usedInSession);
  out.Text(depth + 1, "Type", type);
  out.Text(depth + 1, "HelpContextID", "0");
  out.Text(depth + 1, "HelpFilePath", "");
  out.Text(depth + 1, "SoftwareModuleKey", "");
  if (std::string(type) == "Integer" || std::string(type) == "Real") out.Text(depth + 1, "Units", units);
  out.Text(depth + 1, "Value", value);
  out.Line(depth, "</" + element + ">");
}

void CommonStart(tOut& out, const char* element, long id, const std::string& name,
                 const std::string& description) {
  out.Line(2, std::string("<") + element + " " + Id(id) + ">");
  out.Text(3, "Name", name);
  out.Text(3, "Description", description);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 || std::atof(argv[1]) <= 0) {
    std::fprintf(stderr, "usage: make_store MEGABYTES FILE\n");
    return 2;
  }
  const double bytes = std::atof(argv[1]) * 1e6;
  std::FILE* file = std::fopen(argv[2], "wb");
  if (!file) return 1;

  const long apis = 50, modules = 200;
  // About 3 kB for a driver session with its logical name share and four settings, 0.4 kB
  // for each setting more; the fixed part (modules, assets, sessions) is about 2.2 MB at full size.
  const double fixedFull = 2.2e6, perSession = 3000, perSetting = 400;
  const long assets = bytes < 10e6 ? 100 : 1000, sessions = bytes < 10e6 ? 100 : 1000;
  const double fixed = bytes < 10e6 ? fixedFull / 4 : fixedFull;
  long drivers = static_cast<long>((bytes - fixed) / perSession);
  if (drivers < 10) drivers = 10;
  long settings = 4;
  if (drivers > 60000) {
    settings += static_cast<long>((bytes - fixed - 60000 * perSession) / (60000 * perSetting));
    drivers = 60000;
  }

  long next = 1;
  {
    tOut out(file);
    out.Line(0, "<ZavConfigStore xmlns:dt=\"urn:schemas-microsoft-com:datatypes\">");
    out.Text(1, "Name", "Benchmark store");
    out.Text(1, "Description", "Generated store with " + std::to_string(drivers) + " driver sessions");
    out.Text(1, "Vendor", "Zav Instruments");
    out.Text(1, "Revision", "1.0.0.0");
    out.Text(1, "SpecificationMajorVersion", "1");
    out.Text(1, "SpecificationMinorVersion", "0");
    out.Text(1, "MasterLocation", "");
    out.Text(1, "ProcessDefaultLocation", "");
    out.Text(1, "ActualLocation", "");

    out.Line(1, "<PublishedAPIs>");
    for (long i = 0; i < apis; ++i) {
      out.Line(2, "<ZavPublishedAPI " + Id(next++) + ">");
      out.Text(3, "Name", "Api" + std::to_string(i));
      out.Text(3, "MajorVersion", std::to_string(1 + i % 3));
      out.Text(3, "MinorVersion", "0");
      out.Text(3, "Type", "C");
      out.Line(2, "</ZavPublishedAPI>");
    }
    out.Line(1, "</PublishedAPIs>");

    // A module: components (3 leaves, a structure of 2), its own id, then 4 physical names with
    // a range each (range before name).
    std::string moduleIds;
    long firstModule = 0;
    out.Line(1, "<SoftwareModules>");
    for (long m = 0; m < modules; ++m) {
      const long moduleId = next + 6;
      if (m == 0) firstModule = moduleId;
      CommonStart(out, "ZavSoftwareModule", moduleId, "Module" + std::to_string(m), "");
      out.Line(3, "<DataComponents>");
      Component(out, 4, next, "Boolean", "Simulate", "", "0");
      Component(out, 4, next, "Real", "Timeout", "s", "2.5");
      Component(out, 4, next, "String", "Firmware", "", "1.0 &lt;beta&gt; &amp; more");
      out.Line(4, "<ZavStructure " + Id(next + 2) + ">");
      out.Text(5, "Name", "Initial Settings");
      out.Text(5, "Description", "");
      out.Text(5, "ReadOnly", "0");
      out.Text(5, "UsedInSession", "None");
      out.Text(5, "Type", "Structure");
      out.Text(5, "HelpContextID", "0");
      out.Text(5, "HelpFilePath", "");
      out.Text(5, "SoftwareModuleKey", "");
      out.Line(5, "<DataComponents>");
      Component(out, 6, next, "Integer", "Range", "V", "10");
      Component(out, 6, next, "Real", "Aperture", "", "0.02");
      out.Line(5, "</DataComponents>");
      out.Line(4, "</ZavStructure>");
      next += 2;  // the structure, then the module
      out.Line(3, "</DataComponents>");
      out.Text(3, "ModulePath", "/opt/zav/lib/libmodule" + std::to_string(m) + ".so");
      out.Text(3, "Prefix", "Mod" + std::to_string(m));
      out.Text(3, "ProgID", "");
      out.Text(3, "SupportedInstrumentModels", "M1,M2");
      out.Line(3, "<PhysicalNames>");
      for (int p = 0; p < 4; ++p) {
        out.Line(4, "<ZavPhysicalName " + Id(next + 1) + ">");
        out.Text(5, "Name", "Channel" + std::to_string(p));
        out.Text(5, "RCName", "Channels");
        out.Text(5, "PhysicalNames", "");
        out.Line(5, "<PhysicalRanges>");
        out.Line(6, "<ZavPhysicalRange " + Id(next) + ">");
        out.Text(7, "Name", "CH" + std::to_string(p));
        out.Text(7, "Max", "16");
        out.Text(7, "Min", "1");
        out.Line(6, "</ZavPhysicalRange>");
        out.Line(5, "</PhysicalRanges>");
        out.Line(4, "</ZavPhysicalName>");
        next += 2;
      }
      out.Line(3, "</PhysicalNames>");
      out.Line(3, "<PublishedAPIs>");
      out.Line(4, Ref("ZavPublishedAPI", 1 + m % apis));
      out.Line(3, "</PublishedAPIs>");
      out.Text(3, "AssemblyQualifiedClassName", "");
      out.Text(3, "ModulePath64", "");
      out.Line(2, "</ZavSoftwareModule>");
    }
    out.Line(1, "</SoftwareModules>");
    const long moduleStride = 6 + 1 + 8;  // components and module, then names and ranges

    long firstAsset = 0;
    out.Line(1, "<HardwareAssets>");
    for (long a = 0; a < assets; ++a) {
      if (a == 0) firstAsset = next + 1;
      CommonStart(out, "ZavHardwareAsset", next + 1, "Asset" + std::to_string(a), "");
      out.Line(3, "<DataComponents>");
      Component(out, 4, next, "String", "Serial", "", "SN" + std::to_string(a), "None");
      out.Line(3, "</DataComponents>");
      ++next;
      out.Text(3, "IOResourceDescriptor", "TCPIP0::10.0." + std::to_string(a / 256) + "." +
                                              std::to_string(a % 256) + "::INSTR");
      out.Line(2, "</ZavHardwareAsset>");
    }
    out.Line(1, "</HardwareAssets>");

    std::string logical;
    out.Line(1, "<DriverSessions>");
    std::vector<long> driverIds;
    driverIds.reserve(static_cast<size_t>(drivers));
    for (long d = 0; d < drivers; ++d) {
      const long m = d % modules;
      const long id = next + settings;
      driverIds.push_back(id);
      CommonStart(out, "ZavDriverSession", id, "Driver" + std::to_string(d),
                  "Driver session number " + std::to_string(d));
      out.Line(3, "<DataComponents>");
      Component(out, 4, next, "Boolean", "AutoZero", "", d % 2 ? "0" : "1");
      Component(out, 4, next, "Integer", "Averaging", "", std::to_string(d % 100 - 50));
      Component(out, 4, next, "Real", "Aperture", "s", "0.00" + std::to_string(d % 97 + 1));
      Component(out, 4, next, "String", "Function", "", "DCV");
      for (long s = 4; s < settings; ++s)
        Component(out, 4, next, "String", "Extra" + std::to_string(s), "", "value " + std::to_string(s));
      out.Line(3, "</DataComponents>");
      ++next;
      out.Line(3, Ref("ZavHardwareAsset", firstAsset + (d % assets) * 2));
      out.Line(3, Ref("ZavSoftwareModuleRef", firstModule + m * moduleStride));
      out.Line(3, "<VirtualNames>");
      for (int v = 0; v < 2; ++v) {
        out.Line(4, "<ZavVirtualName " + Id(next + 1) + ">");
        out.Text(5, "Name", "Input" + std::to_string(v));
        out.Text(5, "MapTo", "Channel" + std::to_string(v));
        out.Line(5, "<VirtualRanges>");
        out.Line(6, "<ZavVirtualRange " + Id(next) + ">");
        out.Text(7, "Name", "In" + std::to_string(v));
        out.Text(7, "Max", "8");
        out.Text(7, "Min", "0");
        out.Text(7, "StartingPhysicalIndex", "1");
        out.Line(6, "</ZavVirtualRange>");
        out.Line(5, "</VirtualRanges>");
        out.Line(4, "</ZavVirtualName>");
        next += 2;
      }
      out.Line(3, "</VirtualNames>");
      out.Text(3, "SoftwareModuleName", "Module" + std::to_string(m));
      out.Text(3, "Cache", "1");
      out.Text(3, "DriverSetup", "Model=DMM" + std::to_string(d % 7));
      for (const char* flag : {"InterchangeCheck", "QueryInstrStatus", "RangeCheck",
                               "RecordCoercions", "Simulate"})
        out.Text(3, flag, "0");
      out.Line(2, "</ZavDriverSession>");
    }
    out.Line(1, "</DriverSessions>");

    std::vector<long> sessionIds;
    out.Line(1, "<Sessions>");
    for (long s = 0; s < sessions; ++s) {
      sessionIds.push_back(next);
      CommonStart(out, "ZavSession", next++, "Session" + std::to_string(s), "plain");
      out.Text(3, "DataComponents", "");
      out.Text(3, "VirtualNames", "");
      out.Text(3, "SoftwareModuleName", "");
      out.Line(2, "</ZavSession>");
    }
    out.Line(1, "</Sessions>");

    out.Line(1, "<LogicalNames>");
    for (long d = 0; d < drivers; d += 2) {
      out.Line(2, "<ZavLogicalName " + Id(next++) + ">");
      out.Text(3, "Name", "Logical" + std::to_string(d));
      out.Text(3, "Description", "");
      out.Line(3, Ref("ZavDriverSession", driverIds[static_cast<size_t>(d)]));
      out.Line(2, "</ZavLogicalName>");
    }
    out.Line(1, "</LogicalNames>");
    out.Line(0, "</ZavConfigStore>");
  }
  return std::fclose(file) == 0 ? 0 : 1;
}
