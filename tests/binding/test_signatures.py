"""Every exposed routine has its call line in signatures/<module>.txt, and the
generated doc strings start with exactly that line."""
import pathlib

SIGNATURES = pathlib.Path(__file__).parent / "signatures"


def routine_name(line):
    call = line.split(" = ", 1)[-1]
    return call.split("(", 1)[0]


def test_doc_strings_match_the_signature_files(tv):
    listed = {}
    for path in sorted(SIGNATURES.glob("*.txt")):
        module_name = path.name.split(".")[0]  # <module>.txt or <module>.<topic>.txt
        module = getattr(tv, module_name)
        for line in path.read_text().splitlines():
            if not line.strip() or line.startswith("#"):
                continue
            name = routine_name(line)
            routine = getattr(module, name)
            assert routine.__doc__.splitlines()[0] == line, f"{module_name}.{name}"
            assert name not in listed.get(module_name, set()), f"{module_name}.{name} listed twice"
            listed.setdefault(module_name, set()).add(name)
    exposed = {}
    for module in tv.__doc__.splitlines()[2:]:
        mod, members = module.strip().split(" --- ")
        names = {m[:-2] for m in members.rstrip(".").split(",") if m.endswith("()")}
        if names:
            exposed[mod] = names
    assert listed == exposed


def test_doc_strings_give_each_parameter_its_type(tv):
    # The type lines of a routine's parameters and result, as the fuzzer and
    # readers parse them (description lines may follow each).
    lines = tv.math.determinant.__doc__.splitlines()
    for line in ("a : input rank-2 array('d') with bounds (n,n)", "n : input int, optional",
                 "pdflag : input int, optional", "pd : float"):
        assert line in lines, line
    assert lines.index("Parameters") < lines.index("a : input rank-2 array('d') with bounds (n,n)") < \
        lines.index("Other Parameters") < lines.index("n : input int, optional") < lines.index("Returns")
