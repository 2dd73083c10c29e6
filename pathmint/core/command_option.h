// Command-line options: objects that register themselves, in construction order, in one
// process-wide registry. The registry order is the matching order of the parser and the order of
// the usage text.
#ifndef PATHMINT_COMMAND_OPTION_H
#define PATHMINT_COMMAND_OPTION_H

#include <cstdint>

#include "text_stream.h"

class CommandOption {
 public:
  // Flags given to the constructor (the first four) and the parser's own mark.
  enum : uint32_t {
    Positional = 0x01,  // a plain argument: taken by tokens without a prefix character
    Required = 0x02,    // must be given; no brackets and no default in the usage text
    Hidden = 0x04,      // accepted, but left out of the usage text
    Repeatable = 0x10,  // " ..." in the usage summary (display only)
    Seen = 0x8000,      // taken from the command line
  };

  // Stores the fields and appends the option to the registry.
  CommandOption(const char* name, const char* help, const char* envName, uint32_t flags);

  virtual int TakesValue() const;
  // text may be null: a value option given as the last token without a value.
  virtual void SetValue(const char* text) = 0;
  virtual const char* ValuePlaceholder() const = 0;
  virtual void PrintValue(TextStream& out) const = 0;

  // This option's entry in the usage summary line and its line in the detail list.
  void PrintSummary(TextStream& out) const;
  void PrintDetail(TextStream& out) const;

  const char* m_szName;
  const char* m_szHelp;
  uint32_t m_iFlags;
  const char* m_szEnvName;

 protected:
  // Options live until the process ends; they are never destroyed through the base.
  ~CommandOption() = default;
};

// An on/off switch: never takes a value; each SetValue toggles it.
class FlagOption : public CommandOption {
 public:
  FlagOption(const char* name, const char* help, int initial, uint32_t flags, const char* envName);
  int TakesValue() const override;
  void SetValue(const char* text) override;
  const char* ValuePlaceholder() const override;
  void PrintValue(TextStream& out) const override;

  int m_bValue;
};

// A text: the pointer handed over is kept (no copy); null means unset.
class StringOption : public CommandOption {
 public:
  StringOption(const char* name, const char* help, const char* initial, uint32_t flags,
               const char* envName);
  void SetValue(const char* text) override;
  const char* ValuePlaceholder() const override;
  void PrintValue(TextStream& out) const override;

  const char* m_szValue;
};

// A signed 32-bit number, converted as atoi does; never an error.
class IntegerOption : public CommandOption {
 public:
  IntegerOption(const char* name, const char* help, int32_t initial, uint32_t flags,
                const char* envName);
  // A null text leaves the value as it is.
  void SetValue(const char* text) override;
  const char* ValuePlaceholder() const override;
  void PrintValue(TextStream& out) const override;

  int32_t m_iValue;
};

// atoi's rule without its undefined overflow: leading white space, an optional sign, decimal
// digits up to the first other character; no digits give 0; out-of-range values saturate.
int32_t ConvertInteger(const char* text);

// The process-wide option registry.
struct OptionRegistry {
  int m_iCount;
  int m_iCapacity;
  CommandOption** m_ppOptions;
};
OptionRegistry& Registry();
// Empties the registry, leaving room for one entry.
void ResetRegistry();
void RegisterOption(CommandOption* option);

#endif
