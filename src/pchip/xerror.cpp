#include "pchip/xerror.hpp"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>

#include "foundation/boundary.hpp"
#include "foundation/text.hpp"
#include "pchip/machine.hpp"
#include "pchip/runtime.hpp"

namespace tavrin::pchip {
namespace {

constexpr std::array<int, 9> initial_control{0, 2, 0, 10, 1, 0, 0, 0, 0};
std::array<int, 9> control = initial_control;

// The summary table: ten entries keyed by their first five fields.
constexpr int lentab = 10;
struct Entry {
  FixedText<8> library;
  FixedText<8> routine;
  FixedText<20> message;
  int nerr = 0;
  int level = 0;
  int count = 0;
};
struct Summary {
  std::array<Entry, lentab> entries{};
  int nmsg = 0;    // entries in use
  int kountx = 0;  // reports that found the table full
};
Summary summary;

// The output channels of the control table, channel 0 standing for the
// standard message unit.
struct Channels {
  std::array<int, 5> unit{};
  int count = 0;
};
Channels channels() {
  Channels c;
  ::xgetua(c.unit.data(), &c.count);
  static constexpr int message_unit = 4;
  for (int i = 0; i < c.count; ++i)
    if (c.unit[std::size_t(i)] == 0) c.unit[std::size_t(i)] = i1mach(&message_unit);
  return c;
}

void write_all(const Channels& c, std::string_view line) {
  for (int i = 0; i < c.count; ++i) write_record(c.unit[std::size_t(i)], line);
}

// Where the piece that starts `rest` ends when it must be cut at `wrap`
// characters: just before the last blank among characters 2 to wrap + 1,
// which is then skipped; with no blank, exactly at `wrap`.
struct Piece {
  std::size_t length;
  std::size_t skip;
};
Piece cut(std::string_view rest, std::size_t wrap) {
  for (std::size_t k = wrap; k >= 1; --k)
    if (rest[k] == ' ') return {k, 1};
  return {wrap, 0};
}

}  // namespace

int j4save(int iwhich, int ivalue, bool iset) {
  if (iwhich < 1 || iwhich > int(control.size())) return 0;
  int& slot = control[std::size_t(iwhich - 1)];
  const int old = slot;
  if (iset) slot = ivalue;
  return old;
}

void xerprn(std::string_view prefix, int npref, std::string_view messg, int nwrap) {
  tavrin::c_boundary(__func__, [&] {
    const Channels units = channels();
    const std::size_t lpref = std::size_t(std::min(16, npref < 0 ? int(prefix.size()) : npref));
    std::string line(prefix.substr(0, lpref));
    line.resize(lpref, ' ');
    const std::size_t lwrap = std::size_t(std::clamp(nwrap, 16, 132));
    auto emit = [&](std::string_view piece) {
      line.resize(lpref);
      line += piece;
      write_all(units, line);
    };

    std::size_t lenmsg = messg.size();
    while (lenmsg > 0 && messg[lenmsg - 1] == ' ') --lenmsg;
    if (lenmsg == 0) {
      emit(" ");
      return;
    }
    const std::string_view text = messg.substr(0, lenmsg);
    std::size_t next = 0;
    while (next < lenmsg) {
      const std::string_view rest = text.substr(next);
      const std::size_t marker = rest.find("$$");
      Piece piece{};
      if (marker == 0) {  // a new-line marker never makes an empty line
        next += 2;
        continue;
      }
      if (marker == std::string_view::npos) {
        piece = rest.size() > lwrap ? cut(rest, lwrap) : Piece{rest.size(), 0};
      } else if (marker > lwrap) {
        piece = cut(rest, lwrap);
      } else {
        piece = {marker, 2};
      }
      emit(rest.substr(0, piece.length));
      next += piece.length + piece.skip;
    }
  });
}

int xersve(std::string_view librar, std::string_view subrou, std::string_view messg, int kflag,
           int nerr, int level) {
  return tavrin::c_boundary_value(__func__, [&]() -> int {
    if (kflag <= 0) {
      if (summary.nmsg == 0) return 0;
      const Channels units = channels();
      for (int c = 0; c < units.count; ++c) {
        const int unit = units.unit[std::size_t(c)];
        write_record(unit, "0          ERROR MESSAGE SUMMARY");
        write_record(unit, " LIBRARY    SUBROUTINE MESSAGE START             NERR     LEVEL     COUNT");
        for (int i = 0; i < summary.nmsg; ++i) {
          const Entry& e = summary.entries[std::size_t(i)];
          std::string row = " ";
          row += e.library.view();
          row += "   ";
          row += e.routine.view();
          row += "   ";
          row += e.message.view();
          row += format_int(e.nerr, 10) + format_int(e.level, 10) + format_int(e.count, 10);
          write_record(unit, row);
        }
        if (summary.kountx != 0)
          write_record(unit, "0OTHER ERRORS NOT INDIVIDUALLY TABULATED = " + format_int(summary.kountx, 10));
        write_record(unit, " ");
      }
      if (kflag == 0) {
        summary.nmsg = 0;
        summary.kountx = 0;
      }
      return 0;
    }

    Entry key;
    key.library = librar;
    key.routine = subrou;
    key.message = messg;
    key.nerr = nerr;
    key.level = level;
    for (int i = 0; i < summary.nmsg; ++i) {
      Entry& e = summary.entries[std::size_t(i)];
      if (e.library.view() == key.library.view() && e.routine.view() == key.routine.view() &&
          e.message.view() == key.message.view() && e.nerr == nerr && e.level == level)
        return ++e.count;
    }
    if (summary.nmsg < lentab) {
      key.count = 1;
      summary.entries[std::size_t(summary.nmsg++)] = key;
      return 1;
    }
    ++summary.kountx;
    return 0;
  });
}

void xerhlt(std::string_view) { numeric_stop(1); }

void xermsg(std::string_view librar, std::string_view subrou, std::string_view messg, int nerr,
            int level) {
  tavrin::c_boundary(__func__, [&] {
    int lkntrl = j4save(2, 0, false);
    const int maxmes = j4save(4, 0, false);

    if (nerr < -9999999 || nerr > 99999999 || nerr == 0 || level < -1 || level > 2) {
      xerprn(" ***", -1,
             "FATAL ERROR IN...$$ XERMSG -- INVALID ERROR NUMBER OR LEVEL$$ JOB ABORT DUE TO FATAL "
             "ERROR.",
             72);
      xersve(" ", " ", " ", 0, 0, 0);
      xerhlt(" ***XERMSG -- INVALID INPUT");
    }

    j4save(1, nerr, true);
    const int kount = xersve(librar, subrou, messg, 1, nerr, level);
    if (level == -1 && kount > 1) return;  // informative: first occurrence only

    // The hook sees copies of the key fields and may change the setting for
    // this report alone.
    {
      const std::string lib(librar.substr(0, 8)), sub(subrou.substr(0, 8)), mes(messg.substr(0, 20));
      ::xercnt(lib.c_str(), sub.c_str(), mes.c_str(), &nerr, &level, &lkntrl);
    }
    lkntrl = std::clamp(lkntrl, -2, 2);
    const int mkntrl = std::abs(lkntrl);

    const bool silent = (level < 2 && lkntrl == 0) || (level == 0 && kount > maxmes) ||
                        (level == 1 && kount > maxmes && mkntrl == 1) ||
                        (level == 2 && kount > std::max(1, maxmes));
    if (!silent) {
      if (lkntrl != 0) {
        std::string header = "MESSAGE FROM ROUTINE ";
        header += subrou.substr(0, 16);
        header += " IN LIBRARY ";
        header += librar.substr(0, 16);
        header += ".";
        xerprn(" ***", -1, header, 72);
      }
      if (lkntrl > 0) {
        std::string kind = level <= 0 ? "INFORMATIVE MESSAGE," : level == 1 ? "POTENTIALLY RECOVERABLE ERROR," : "FATAL ERROR,";
        const bool aborts = (mkntrl == 2 && level >= 1) || (mkntrl == 1 && level == 2);
        kind += aborts ? " PROG ABORTED," : " PROG CONTINUES,";
        kind += " TRACEBACK REQUESTED";
        xerprn(" ***", -1, kind, 72);
      }
      xerprn(" *  ", -1, messg, 72);
      if (lkntrl > 0) {
        xerprn(" *  ", -1, "ERROR NUMBER = " + std::to_string(nerr), 72);
        ::fdump();
      }
      if (lkntrl != 0) {
        xerprn(" *  ", -1, " ", 72);
        xerprn(" ***", -1, "END OF MESSAGE", 72);
        xerprn("    ", 0, " ", 72);
      }
    }

    if (level <= 0 || (level == 1 && mkntrl <= 1)) return;
    if (lkntrl > 0 && kount < std::max(1, maxmes)) {
      xerprn(" ***", -1,
             level == 1 ? "JOB ABORT DUE TO UNRECOVERED ERROR." : "JOB ABORT DUE TO FATAL ERROR.", 72);
      xersve(" ", " ", " ", -1, 0, 0);
    }
    xerhlt(" ");
  });
}

void reset_error_facility() {
  control = initial_control;
  summary = Summary{};
}

}  // namespace tavrin::pchip

namespace pchip = tavrin::pchip;

extern "C" {

void xermsg(const char* librar, const char* subrou, const char* messg, const int* nerr,
            const int* level) {
  tavrin::c_boundary(__func__, [&] {
    pchip::xermsg(librar, subrou, messg, *nerr, *level);
  });
}

void xerprn(const char* prefix, const int* npref, const char* messg, const int* nwrap) {
  tavrin::c_boundary(__func__, [&] {
    pchip::xerprn(prefix, *npref, messg, *nwrap);
  });
}

void xersve(const char* librar, const char* subrou, const char* messg, const int* kflag,
            const int* nerr, const int* level, int* icount) {
  tavrin::c_boundary(__func__, [&] {
    *icount = pchip::xersve(librar, subrou, messg, *kflag, *nerr, *level);
  });
}

int j4save(const int* iwhich, const int* ivalue, const int* iset) {
  return pchip::j4save(*iwhich, *ivalue, *iset != 0);
}

void xgetua(int* iunita, int* n) {
  // Five channels at most, and at least the first: a count outside 1..5 in
  // slot 5 never makes the list run past its five entries.
  *n = std::clamp(pchip::j4save(5, 0, false), 1, 5);
  iunita[0] = pchip::j4save(3, 0, false);
  for (int i = 2; i <= *n; ++i) iunita[i - 1] = pchip::j4save(i + 4, 0, false);
}

void xsetf(const int* kontrl) {
  tavrin::c_boundary(__func__, [&] {
    if (*kontrl < -2 || *kontrl > 2) {
      pchip::xermsg("SLATEC", "XSETF", "INVALID ARGUMENT = " + pchip::format_int(*kontrl, 8), 1, 2);
      return;
    }
    pchip::j4save(2, *kontrl, true);
  });
}

void xgetf(int* kontrl) { *kontrl = pchip::j4save(2, 0, false); }

void xerdmp() {
  tavrin::c_boundary(__func__, [&] {
    pchip::xersve(" ", " ", " ", 0, 0, 0);
  });
}

void xerhlt(const char* messg) { pchip::xerhlt(messg); }

void xercnt(const char*, const char*, const char*, const int*, const int*, int*) {}

void fdump() {}

}
