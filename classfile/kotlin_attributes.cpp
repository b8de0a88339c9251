#include "classfile/kotlin_attributes.h"

#include "classfile/annotation_text.h"
#include "classfile/javap_writer.h"

namespace {

const char kMetadataType[] = "Lkotlin/Metadata;";

bool IsKotlinAnnotation(const ConstantPool& pool, const AnnotationValue& annotation) {
  const std::string& type = pool.Utf8(annotation.index);
  return type == kMetadataType || type == "Lkotlin/jvm/internal/SourceDebugExtension;";
}

int IntegerOf(const ConstantPool& pool, const AnnotationValue& value) {
  const Constant* c = pool.Get(value.index);
  return value.tag == 'I' && c != nullptr ? static_cast<int>(static_cast<int32_t>(c->bits)) : 0;
}

}  // namespace

KotlinMetadata KotlinMetadataOf(const ParsedClass& file) {
  KotlinMetadata metadata;
  for (const ClassAnnotations& attribute : file.annotations) {
    for (const AnnotationValue& annotation : attribute.list) {
      if (file.pool.Utf8(annotation.index) != kMetadataType) continue;
      metadata.present = true;
      for (size_t i = 0; i < annotation.names.size() && i < annotation.values.size(); ++i) {
        const std::string& name = file.pool.Utf8(annotation.names[i]);
        const AnnotationValue& value = annotation.values[i];
        if (name == "k") metadata.kind = IntegerOf(file.pool, value);
        if (name == "mv" && value.tag == '[') {
          for (const AnnotationValue& part : value.values) {
            metadata.version.push_back(IntegerOf(file.pool, part));
          }
        }
      }
      return metadata;
    }
  }
  return metadata;
}

std::string KotlinAttributesText(const ParsedClass& file) {
  std::string text;
  JavapWriter w(&text);
  if (file.hasSourceDebugExtension) {
    w.Print("SourceDebugExtension:");
    w.NewLine();
    w.Indent(+1);
    // A line each, as javap splits it: empty lines left out.
    const std::string& lines = file.sourceDebugExtension;
    for (size_t start = 0; start < lines.size();) {
      size_t end = lines.find_first_of("\r\n", start);
      if (end == std::string::npos) end = lines.size();
      if (end > start) {
        w.Print(lines.substr(start, end - start));
        w.NewLine();
      }
      start = end + 1;
    }
    w.Indent(-1);
  }
  for (const ClassAnnotations& attribute : file.annotations) {
    bool headed = false;
    for (size_t i = 0; i < attribute.list.size(); ++i) {
      const AnnotationValue& annotation = attribute.list[i];
      if (!IsKotlinAnnotation(file.pool, annotation)) continue;
      if (!headed) {
        w.Print(attribute.visible ? "RuntimeVisibleAnnotations:" : "RuntimeInvisibleAnnotations:");
        w.NewLine();
        headed = true;
      }
      w.Indent(+1);
      w.Print(std::to_string(i) + ": " + AnnotationIndicesText(annotation));
      w.NewLine();
      w.Indent(+1);
      PrintAnnotation(&w, file.pool, annotation);
      w.NewLine();
      w.Indent(-2);
    }
  }
  return text;
}
