#include "mapxml/mapxml_reader.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mapxml/declared_encoding.h"
#include "mapxml/mapxml_error.h"
#include "mapxml/mapxml_libraries.h"
#include "mapxml/mapxml_limits.h"

namespace parquill::mapxml {
namespace {

// The elements the reader acts on, by their local names (any namespace).
enum class Tag : std::uint8_t {
  kOther,
  kMap,
  kCoordinateSystem,
  kMunicipalityCode,
  kMunicipalityName,
  kPoint,
  kCurve,
  kSurface,
  kLot,
  kBoundaryPoint,
  kX,
  kY,
  kOrientation,
  kPrimitive,
  kPointRef,
  kDirect,
  kExterior,
  kInterior,
  kRing,
  kGenerator,
  kShape,
  kPointName,
  kConstituent,
  kChiban,
  kOaza,
  kChome,
  kKoaza,
  kYobi,
  kAccuracy,
  kCoordinateType,
  // Texts kept from a 筆界未定構成筆, not from the lot itself.
  kConstituentChiban,
  kConstituentOaza,
};

constexpr std::pair<std::string_view, Tag> kTags[] = {
    {"地図", Tag::kMap},
    {"座標系", Tag::kCoordinateSystem},
    {"市区町村コード", Tag::kMunicipalityCode},
    {"市区町村名", Tag::kMunicipalityName},
    {"GM_Point", Tag::kPoint},
    {"GM_Curve", Tag::kCurve},
    {"GM_OrientableCurve", Tag::kCurve},
    {"GM_Surface", Tag::kSurface},
    {"筆", Tag::kLot},
    {"筆界点", Tag::kBoundaryPoint},
    {"X", Tag::kX},
    {"Y", Tag::kY},
    {"GM_OrientablePrimitive.orientation", Tag::kOrientation},
    {"GM_OrientablePrimitive.primitive", Tag::kPrimitive},
    {"GM_PointRef.point", Tag::kPointRef},
    {"GM_Position.direct", Tag::kDirect},
    {"GM_SurfaceBoundary.exterior", Tag::kExterior},
    {"GM_SurfaceBoundary.interior", Tag::kInterior},
    {"GM_Ring", Tag::kRing},
    {"GM_CompositeCurve.generator", Tag::kGenerator},
    {"形状", Tag::kShape},
    {"点番名", Tag::kPointName},
    {"筆界未定構成筆", Tag::kConstituent},
    {"地番", Tag::kChiban},
    {"大字名", Tag::kOaza},
    {"丁目名", Tag::kChome},
    {"小字名", Tag::kKoaza},
    {"予備名", Tag::kYobi},
    {"精度区分", Tag::kAccuracy},
    {"座標値種別", Tag::kCoordinateType},
};

// What libxml2 reports outside a parser's own errors (an encoder failing on
// bytes not in the declared encoding) is not printed: the file's one line
// says it.
void Silent(void*, const char*, ...) {}
void Noted(void* noted, const char*, ...) { *static_cast<bool*>(noted) = true; }

std::string_view View(const xmlChar* text) { return reinterpret_cast<const char*>(text); }

// `text` without the white space of XML (space, tab, CR, LF) at either end.
std::string_view Trimmed(std::string_view text) {
  constexpr std::string_view kSpace = " \t\r\n";
  const std::size_t first = text.find_first_not_of(kSpace);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kSpace) - first + 1);
}

// The error libxml2 reported first.
struct LibraryError {
  int code = 0;
  int line = 0;
  std::string message;
};

class Reader {
 public:
  explicit Reader(MapXmlDocument& document) : document_(document) {}

  void Read(const ByteSource& source);

 private:
  // The SAX callbacks: each passes on to the reader, and stops the parser
  // with what went wrong rather than let an exception through libxml2.
  static void OnStart(void* user, const xmlChar* localName, const xmlChar*, const xmlChar*, int,
                      const xmlChar**, int attributeCount, int, const xmlChar** attributes) {
    Guarded(user, [&](Reader& reader) { reader.Start(localName, attributeCount, attributes); });
  }
  static void OnEnd(void* user, const xmlChar* localName, const xmlChar*, const xmlChar*) {
    Guarded(user, [&](Reader& reader) { reader.End(localName); });
  }
  static void OnText(void* user, const xmlChar* text, int length) {
    Guarded(user, [&](Reader& reader) { reader.Text(text, length); });
  }
  static void OnDoctype(void* user, const xmlChar*, const xmlChar*, const xmlChar*) {
    Guarded(user, [](Reader& reader) { reader.Fail("DOCTYPE 宣言は受け付けません"); });
  }
  static void OnEntity(void* user, const xmlChar*, int, const xmlChar*, const xmlChar*, xmlChar*) {
    Guarded(user, [](Reader& reader) { reader.Fail("実体宣言は受け付けません"); });
  }
  static void OnError(void* user, xmlErrorPtr error) {
    auto& reader = *static_cast<Reader*>(user);
    if (reader.libraryError_ || error == nullptr || error->level < XML_ERR_ERROR) return;
    reader.libraryError_ =
        LibraryError{error->code, error->line, error->message != nullptr ? error->message : ""};
  }
  template <typename Act>
  static void Guarded(void* user, Act act) {
    auto& reader = *static_cast<Reader*>(user);
    if (reader.failure_) return;
    try {
      act(reader);
    } catch (const MapXmlError& error) {
      reader.failure_ = error;
    } catch (const std::exception&) {
      reader.failure_ = MapXmlError(reader.Line(), "メモリが足りません");
    }
    if (reader.failure_) LoadedXml().xmlStopParser(reader.parser_);
  }

  [[noreturn]] void Fail(const std::string& message) const { throw MapXmlError(Line(), message); }
  std::uint64_t Line() const {
    return parser_ != nullptr && parser_->input != nullptr
               ? static_cast<std::uint64_t>(parser_->input->line)
               : 0;
  }
  [[noreturn]] void ThrowLibraryError(std::uint64_t total, bool atEnd,
                                      std::string_view chunk) const;

  Tag TagOf(const xmlChar* localName);
  void Start(const xmlChar* localName, int attributeCount, const xmlChar** attributes);
  void End(const xmlChar* localName);
  void Text(const xmlChar* text, int length);
  void BeginObject(Tag tag, std::string_view id);
  void EndObject();
  void Capture(Tag tag);
  void EndCapture();
  double Number() const;

  MapXmlDocument& document_;
  xmlParserCtxtPtr parser_ = nullptr;
  std::string declaredEncoding_;
  bool encoderFailed_ = false;  // libxml2 said something outside the parser
  std::optional<MapXmlError> failure_;
  std::optional<LibraryError> libraryError_;
  // The tags of the names met, by address: libxml2 gives each name once, in
  // its dictionary. A slot holds the last name of its hash.
  static constexpr std::size_t kTagSlots = 256;  // the top byte of a hash
  std::array<std::pair<const xmlChar*, Tag>, kTagSlots> tags_{};

  int depth_ = 0;
  bool rootSeen_ = false;
  Tag object_ = Tag::kOther;  // the point, curve, surface, lot or boundary point being read
  int objectDepth_ = 0;
  Symbol objectSymbol_ = kNoSymbol;
  std::uint64_t objectLine_ = 0;
  int constituentDepth_ = 0;     // of the 筆界未定構成筆 being read; 0 outside one
  Tag capturing_ = Tag::kOther;  // the element whose text is kept
  int captureDepth_ = 0;
  std::string text_;

  double x_ = 0;
  double y_ = 0;
  bool hasX_ = false;
  bool hasY_ = false;
  bool inDirect_ = false;  // a curve's position given in place
  Curve curve_;
  bool ringExterior_ = true;
  bool inRing_ = false;
  Surface surface_;
  LotEntry lot_;
  PointName pointName_;
};

Tag Reader::TagOf(const xmlChar* localName) {
  const auto address = reinterpret_cast<std::uintptr_t>(localName);
  auto& slot = tags_[(address * 0x9E3779B97F4A7C15ULL) >> 56];  // names side by side apart
  if (slot.first == localName) return slot.second;
  const std::string_view name = View(localName);
  Tag tag = Tag::kOther;
  for (const auto& [known, named] : kTags) {
    if (name == known) tag = named;
  }
  slot = {localName, tag};
  return tag;
}

// The value of attribute `name` (no namespace) among libxml2's five-field
// attributes; empty when it is missing.
std::string_view AttributeValue(int count, const xmlChar** attributes, std::string_view name) {
  for (int i = 0; i < count; ++i) {
    const xmlChar** a = attributes + 5 * i;
    if (a[2] == nullptr && View(a[0]) == name) {
      return {reinterpret_cast<const char*>(a[3]), static_cast<std::size_t>(a[4] - a[3])};
    }
  }
  return {};
}

void Reader::Start(const xmlChar* localName, int attributeCount, const xmlChar** attributes) {
  if (++depth_ > kDeepestNesting) Fail("要素の入れ子が深すぎます");
  const Tag tag = TagOf(localName);
  if (depth_ == 1) {
    if (tag != Tag::kMap)
      Fail("地図XML ではありません（最初の要素が " + std::string(View(localName)) + "）");
    rootSeen_ = true;
    return;
  }
  auto reference = [&](std::string_view name) {
    const std::string_view value = AttributeValue(attributeCount, attributes, name);
    if (value.size() > kLongestId) Fail(std::string(name) + " が長すぎます");
    return value;
  };
  switch (object_) {
    case Tag::kOther:
      if (depth_ == 2 && (tag == Tag::kCoordinateSystem || tag == Tag::kMunicipalityCode ||
                          tag == Tag::kMunicipalityName)) {
        Capture(tag);
      } else if (tag == Tag::kPoint || tag == Tag::kCurve || tag == Tag::kSurface) {
        const std::string_view id = reference("id");
        if (!id.empty()) BeginObject(tag, id);
      } else if (tag == Tag::kLot || tag == Tag::kBoundaryPoint) {
        BeginObject(tag, {});
      }
      break;
    case Tag::kPoint:
      if (tag == Tag::kX || tag == Tag::kY) Capture(tag);
      break;
    case Tag::kCurve:
      if (tag == Tag::kOrientation) {
        Capture(tag);
      } else if (tag == Tag::kPrimitive) {
        const std::string_view idref = reference("idref");
        if (!idref.empty() && idref != document_.symbols.IdOf(objectSymbol_)) {
          curve_.primitive = document_.symbols.Intern(idref);
        }
      } else if (tag == Tag::kPointRef) {
        document_.vertices.push_back({document_.symbols.Intern(reference("idref")), 0, 0});
      } else if (tag == Tag::kDirect) {
        inDirect_ = true;
        hasX_ = hasY_ = false;
      } else if (inDirect_ && (tag == Tag::kX || tag == Tag::kY)) {
        Capture(tag);
      }
      break;
    case Tag::kSurface:
      if (tag == Tag::kExterior || tag == Tag::kInterior) {
        ringExterior_ = tag == Tag::kExterior;
      } else if (tag == Tag::kRing) {
        inRing_ = true;
        document_.rings.push_back(
            {ringExterior_, static_cast<std::uint32_t>(document_.ringCurves.size()), 0});
        ++surface_.ringCount;
      } else if (tag == Tag::kGenerator && inRing_) {
        document_.ringCurves.push_back(document_.symbols.Intern(reference("idref")));
        ++document_.rings.back().curveCount;
      }
      break;
    case Tag::kLot:
      // A lot's own attributes are its children; the lots that make up a
      // 筆界未定地 carry their own 地番 and 大字名 one level further down.
      if (depth_ == objectDepth_ + 1) {
        if (tag == Tag::kShape) {
          lot_.shape = document_.symbols.Intern(reference("idref"));
        } else if (tag == Tag::kConstituent) {
          lot_.constituents.emplace_back();
          constituentDepth_ = depth_;
        } else if (tag >= Tag::kChiban) {
          Capture(tag);
        }
      } else if (constituentDepth_ != 0 && depth_ == constituentDepth_ + 1 &&
                 (tag == Tag::kChiban || tag == Tag::kOaza)) {
        Capture(tag == Tag::kChiban ? Tag::kConstituentChiban : Tag::kConstituentOaza);
      }
      break;
    case Tag::kBoundaryPoint:
      if (tag == Tag::kShape) {
        pointName_.point = document_.symbols.Intern(reference("idref"));
      } else if (tag == Tag::kPointName) {
        Capture(tag);
      }
      break;
    default:
      break;
  }
}

void Reader::BeginObject(Tag tag, std::string_view id) {
  object_ = tag;
  objectDepth_ = depth_;
  objectLine_ = Line();
  objectSymbol_ = id.empty() ? kNoSymbol : document_.symbols.Intern(id);
  hasX_ = hasY_ = false;
  inDirect_ = false;
  if (tag == Tag::kCurve) {
    curve_ = Curve{static_cast<std::uint32_t>(document_.vertices.size()), 0, kNoSymbol, false,
                   objectLine_};
  } else if (tag == Tag::kSurface) {
    surface_ = Surface{static_cast<std::uint32_t>(document_.rings.size()), 0, objectLine_};
    ringExterior_ = true;
    inRing_ = false;
  } else if (tag == Tag::kLot) {
    lot_ = LotEntry{};
    lot_.line = objectLine_;
    constituentDepth_ = 0;
  } else if (tag == Tag::kBoundaryPoint) {
    pointName_ = PointName{};
  }
}

void Reader::EndObject() {
  auto define = [&](Kind kind, std::size_t index) {
    if (!document_.symbols.Define(objectSymbol_, kind, static_cast<std::uint32_t>(index))) {
      throw MapXmlError(objectLine_, "id=\"" + std::string(document_.symbols.IdOf(objectSymbol_)) +
                                         "\" が二度使われています");
    }
  };
  switch (object_) {
    case Tag::kPoint:
      if (!hasX_ || !hasY_) {
        throw MapXmlError(objectLine_, "GM_Point id=\"" +
                                           std::string(document_.symbols.IdOf(objectSymbol_)) +
                                           "\" に座標がありません");
      }
      define(Kind::kPoint, document_.pointX.size());
      document_.pointX.push_back(x_);
      document_.pointY.push_back(y_);
      break;
    case Tag::kCurve:
      curve_.vertexCount =
          static_cast<std::uint32_t>(document_.vertices.size()) - curve_.firstVertex;
      define(Kind::kCurve, document_.curves.size());
      document_.curves.push_back(curve_);
      break;
    case Tag::kSurface:
      define(Kind::kSurface, document_.surfaces.size());
      document_.surfaces.push_back(surface_);
      break;
    case Tag::kLot:
      document_.lots.push_back(std::move(lot_));
      break;
    case Tag::kBoundaryPoint:
      if (pointName_.point != kNoSymbol && !pointName_.name.empty()) {
        document_.pointNames.push_back(std::move(pointName_));
      }
      break;
    default:
      break;
  }
  object_ = Tag::kOther;
}

void Reader::End(const xmlChar* localName) {
  if (capturing_ != Tag::kOther && depth_ == captureDepth_) EndCapture();
  if (depth_ == constituentDepth_) constituentDepth_ = 0;
  if (object_ != Tag::kOther) {
    if (depth_ == objectDepth_) {
      EndObject();
    } else if (object_ == Tag::kCurve && inDirect_ && TagOf(localName) == Tag::kDirect) {
      if (!hasX_ || !hasY_) Fail("GM_Position.direct に座標がありません");
      document_.vertices.push_back({kNoSymbol, x_, y_});
      inDirect_ = false;
    } else if (object_ == Tag::kSurface && TagOf(localName) == Tag::kRing) {
      inRing_ = false;
    }
  }
  --depth_;
}

void Reader::Capture(Tag tag) {
  capturing_ = tag;
  captureDepth_ = depth_;
  text_.clear();
}

void Reader::Text(const xmlChar* text, int length) {
  if (capturing_ == Tag::kOther) return;
  if (text_.size() + static_cast<std::size_t>(length) > kLongestText) Fail("文字列が長すぎます");
  text_.append(reinterpret_cast<const char*>(text), static_cast<std::size_t>(length));
}

double Reader::Number() const {
  const std::string_view text = Trimmed(text_);
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
      !std::isfinite(value)) {
    Fail("座標が数ではありません: " + std::string(text.substr(0, 40)));
  }
  return value;
}

void Reader::EndCapture() {
  const Tag tag = capturing_;
  capturing_ = Tag::kOther;
  auto trimmed = [&] { return std::string(Trimmed(text_)); };
  switch (tag) {
    case Tag::kCoordinateSystem:
      document_.coordinateSystem = trimmed();
      break;
    case Tag::kMunicipalityCode:
      document_.municipalityCode = trimmed();
      break;
    case Tag::kMunicipalityName:
      document_.municipalityName = trimmed();
      break;
    case Tag::kX:
      x_ = Number();
      hasX_ = true;
      break;
    case Tag::kY:
      y_ = Number();
      hasY_ = true;
      break;
    case Tag::kOrientation: {
      const std::string sign = trimmed();
      if (sign != "+" && sign != "-") Fail("向きが + でも - でもありません: " + sign.substr(0, 40));
      curve_.reversed = sign == "-";
      break;
    }
    case Tag::kPointName:
      pointName_.name = trimmed();
      break;
    case Tag::kChiban:
      lot_.attributes.chiban = trimmed();
      break;
    case Tag::kOaza:
      lot_.attributes.oaza = trimmed();
      break;
    case Tag::kChome:
      lot_.attributes.chome = trimmed();
      break;
    case Tag::kKoaza:
      lot_.attributes.koaza = trimmed();
      break;
    case Tag::kYobi:
      lot_.attributes.yobi = trimmed();
      break;
    case Tag::kAccuracy:
      lot_.attributes.accuracy = trimmed();
      break;
    case Tag::kCoordinateType:
      lot_.attributes.coordinateType = trimmed();
      break;
    case Tag::kConstituentChiban:
      lot_.constituents.back().chiban = trimmed();
      break;
    case Tag::kConstituentOaza:
      lot_.constituents.back().oaza = trimmed();
      break;
    default:
      break;
  }
}

void Reader::ThrowLibraryError(std::uint64_t total, bool atEnd, std::string_view chunk) const {
  const LibraryError error = libraryError_.value_or(LibraryError{0, static_cast<int>(Line()), ""});
  if (total == 0) throw MapXmlError(0, "ファイルが空です");
  const std::uint64_t line = static_cast<std::uint64_t>(error.line > 0 ? error.line : 0);
  // Bytes that are not in the encoding declared: one sentence, without the
  // library's words about bytes and handlers.
  if (ReadAsUtf8(declaredEncoding_) && !IsUtf8(chunk, false)) {
    throw MapXmlError(line, NotUtf8Sentence(declaredEncoding_));
  }
  if (encoderFailed_ || error.code == XML_I18N_CONV_FAILED || error.code == XML_IO_ENCODER ||
      error.code == XML_ERR_INVALID_ENCODING) {
    throw MapXmlError(line, "文字コード " + declaredEncoding_ + " として読めない文字があります" +
                                "（宣言と中身の文字コードが違います）");
  }
  if (error.code == XML_ERR_UNSUPPORTED_ENCODING || error.code == XML_ERR_UNKNOWN_ENCODING) {
    throw MapXmlError(line, "宣言された文字コード " + declaredEncoding_ + " は読めません");
  }
  std::string what;
  if (atEnd && error.code != XML_ERR_DOCUMENT_EMPTY) {
    what = "XML が途中で終わっています";
  } else if (error.code == XML_ERR_INVALID_CHAR || error.code == XML_ERR_INVALID_CHARREF) {
    what = "XML に使えない文字（制御文字など）があります";
  } else if (error.code == XML_ERR_UNDECLARED_ENTITY || error.code == XML_WAR_UNDECLARED_ENTITY) {
    what = "宣言のない実体参照があります";
  } else {
    what = "XML として読めません";
  }
  std::string detail(Trimmed(error.message));
  while (!detail.empty() && (detail.back() == '\n' || detail.back() == '\r')) detail.pop_back();
  if (!detail.empty()) what += "（" + detail + "）";
  throw MapXmlError(line, what);
}

void Reader::Read(const ByteSource& source) {
  const XmlLibrary& xml = LoadedXml();
  xmlSAXHandler handler;
  std::memset(&handler, 0, sizeof handler);
  handler.initialized = XML_SAX2_MAGIC;
  handler.startElementNs = OnStart;
  handler.endElementNs = OnEnd;
  handler.characters = OnText;
  handler.cdataBlock = OnText;
  handler.internalSubset = OnDoctype;
  handler.entityDecl = OnEntity;
  handler.serror = OnError;
  struct Free {
    void operator()(xmlParserCtxtPtr parser) const { LoadedXml().xmlFreeParserCtxt(parser); }
  };
  std::unique_ptr<xmlParserCtxt, Free> parser(
      xml.xmlCreatePushParserCtxt(&handler, this, nullptr, 0, nullptr));
  if (!parser) throw MapXmlError(0, "メモリが足りません");
  parser_ = parser.get();
  xml.xmlSetGenericErrorFunc(&encoderFailed_, Noted);
  struct Unnote {
    ~Unnote() { LoadedXml().xmlSetGenericErrorFunc(nullptr, Silent); }
  } unnote;
  // No network, no entity substitution, no DTD loading, and libxml2's own
  // limits on names, texts and depth (no XML_PARSE_HUGE).
  xml.xmlCtxtUseOptions(parser_, XML_PARSE_NONET);

  std::vector<char> buffer(kReadChunk);
  std::uint64_t total = 0;
  for (;;) {
    const std::size_t read = source(buffer.data(), buffer.size());
    const std::string_view chunk(buffer.data(), read);
    if (total == 0) {
      declaredEncoding_ = DeclaredEncoding(chunk);
      if (const auto mismatch = EncodingMismatch(chunk, false)) throw MapXmlError(0, *mismatch);
    }
    total += read;
    if (total > kLargestMapXml) Fail("ファイルが大きすぎます");
    const int status = xml.xmlParseChunk(parser_, buffer.data(), static_cast<int>(read), read == 0);
    if (failure_) throw *failure_;
    if (status != 0 || libraryError_) ThrowLibraryError(total, read == 0, chunk);
    if (read == 0) break;
  }
  if (!parser_->wellFormed) ThrowLibraryError(total, true, {});
  if (!rootSeen_) Fail("地図XML ではありません");
  parser_ = nullptr;
}

}  // namespace

MapXmlDocument ReadMapXml(const ByteSource& source) {
  MapXmlDocument document;
  Reader reader(document);
  reader.Read(source);
  return document;
}

}  // namespace parquill::mapxml
