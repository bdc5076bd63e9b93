#pragma once
// Text fields limited in bytes as the project files store the text (the ANSI
// code page when it holds every character, else UTF-8), and the conversions
// between the fields and model text (UTF-8; paths shown with native separators).

#include <QString>

#include <string>

class QLineEdit;

/** Refuses input that would take more than maxBytes and tells the limit in the tool tip. */
void LimitStoredBytes(QLineEdit* edit, size_t maxBytes);

/** Model text for a field, and back. */
QString FromModel(const std::string& text);
std::string ToModel(const QString& text);
/** A model path for a field with native separators, and back. */
QString FromModelPath(const std::string& path);
std::string ToModelPath(const QString& text);
