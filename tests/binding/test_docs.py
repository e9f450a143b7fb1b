"""What a routine tells its caller: the doc string (summary, every argument
described, angle units), the signature tools read, the error texts that name
what was received, and the warning for a call-back's ignored return value."""
import ast
import inspect
import re
import textwrap
import warnings

import numpy as np
import pytest


# Names taken as angles; not rectangle or triangle, nor delisio's dof_r and a_r (rotated, not radians),
# nor the fatigue curves' alpha_t and alpha_c (exponents of the tensile and compressive strength curves).
ANGLE = re.compile(r"(?<!rect)(?<!tri)angle|orientation|theta|^phi|^alpha_(?![tc]$)|_d$|(?<!^dof)(?<!^a)_r$")
ENTRY = re.compile(r"^(\w+) : (.+)$")


def inventory(tv):
    for line in tv.__doc__.splitlines()[2:]:
        mod, members = line.strip().split(" --- ")
        for m in members.rstrip(".").split(","):
            if m.endswith("()"):
                yield mod, m[:-2], getattr(getattr(tv, mod), m[:-2])


def call_line_names(line):
    """(results, required, optional) of a call line 'a,b = f(x,y,[n,m])'."""
    outs, _, call = line.rpartition(" = ")
    inner = call[call.index("(") + 1:-1]
    req, _, opt = inner.partition("[")
    split = lambda s: [n for n in s.replace("]", "").split(",") if n]  # noqa: E731
    return split(outs), split(req), split(opt)


def entries(doc):
    """name -> (type line, description lines) of the Parameters, Other
    Parameters and Returns sections."""
    found, current = {}, None
    for line in doc.splitlines()[3:]:
        if line.startswith("Call-back functions"):
            break
        m = ENTRY.match(line)
        if m:
            current = found.setdefault(m.group(1), (m.group(2), []))
        elif line.startswith("    ") and current is not None:
            current[1].append(line.strip())
        else:
            current = None
    return found


def documented(tv):
    return list(inventory(tv))


def test_every_routine_says_what_it_computes_and_what_its_arguments_mean(tv):
    faults = []
    for mod, name, r in documented(tv):
        lines = r.__doc__.splitlines()
        if lines[1] != "" or not lines[2].strip() or lines[2].startswith("Wrapper for"):
            faults.append(f"{mod}.{name}: no summary")
        found = entries(r.__doc__)
        outs, req, opt = call_line_names(lines[0])
        for arg in outs + req + opt:
            type_line, text = found.get(arg, ("", []))
            said = [t for t in text if not t.startswith("Default:")]
            if not said:
                faults.append(f"{mod}.{name}: {arg} not described")
            if ANGLE.search(arg) and ("float" in type_line or "array('d')" in type_line):
                if not re.search(r"degree|radian", " ".join(said)):
                    faults.append(f"{mod}.{name}: angle {arg} without its unit")
    assert not faults, "\n".join(faults)


def test_every_module_has_a_paragraph(tv):
    mods = {mod for mod, _, _ in documented(tv)}
    for mod in sorted(mods):
        lines = getattr(tv, mod).__doc__.splitlines()
        assert lines[0].startswith(mod + " --- ") and lines[1] == "" and len(lines[2]) > 20, mod


def literal_or_none(default, type_line):
    try:
        value = ast.literal_eval(default)
    except (ValueError, SyntaxError):
        return None
    if "array" in type_line and not default.startswith("["):
        return None  # a fill value, not a value of the parameter
    return value


def test_signatures_agree_with_the_call_lines(tv):
    for mod, name, r in inventory(tv):
        sig = inspect.signature(r)
        outs, req, opt = call_line_names(r.__doc__.splitlines()[0])
        assert list(sig.parameters) == req + opt, f"{mod}.{name}"
        # A parameter named like a Python keyword (utility's lambda) parses under a stand-in.
        stand_in = re.sub(r"\b(lambda)\b", r"\1_", r.__text_signature__)
        text = ast.parse(f"def f{stand_in}: pass").body[0].args
        assert [a.arg.rstrip("_") for a in text.args] == [n.rstrip("_") for n in req + opt], f"{mod}.{name}"
        assert [ast.literal_eval(d) for d in text.defaults] == [
            p.default for p in sig.parameters.values() if p.default is not inspect.Parameter.empty]
        found = entries(r.__doc__)
        for p in sig.parameters.values():
            assert p.kind is inspect.Parameter.POSITIONAL_OR_KEYWORD
            if p.name in req:
                assert p.default is inspect.Parameter.empty, f"{mod}.{name}: {p.name}"
                continue
            type_line, text = found[p.name]
            default = next(t for t in text if t.startswith("Default:"))[len("Default: "):]
            want = literal_or_none(default, type_line)
            assert p.default == want and type(p.default) is type(want), f"{mod}.{name}: {p.name}"


def test_a_signature_binds_like_the_routine(tv):
    sig = inspect.signature(tv.laminate.getplyzcoord)
    assert str(sig) == "(plythickness, iply, zpos, nplies=None, refoffset=0.0)"
    bound = sig.bind([1.0, 2.0], 2, 2)
    bound.apply_defaults()
    # None stands for a computed default: passing it is the same as leaving it out.
    assert tv.laminate.getplyzcoord(**bound.arguments) == tv.laminate.getplyzcoord([1.0, 2.0], 2, 2) == 1.5


PLY = [140e3, 10e3, 10e3, 0.3, 0.3, 0.5, 5e3, 5e3, 3.5e3]


@pytest.mark.parametrize("call, text", [
    (lambda tv: tv.laminate.getamatrix(np.tile(PLY, (8, 1)).T, np.zeros(7), np.ones(8)),
     "(len(plyorientation)>=nplies) failed for 1st keyword nplies: nplies = 8 (the default, from "
     "plyelastic's 2nd extent), len(plyorientation) = 7"),
    (lambda tv: tv.laminate.getamatrix(np.ones((8, 9)), np.zeros(9), np.ones(9)),
     "(shape(plyelastic,0)==9) failed for 1st argument plyelastic: received shape (8, 9)"),
    (lambda tv: tv.laminate.getamatrix(np.tile(PLY, (2, 1)).T, [0.0, 90.0], [1.0, 1.0], nplies=3),
     "(shape(plyelastic,1)==nplies) failed for 1st keyword nplies: nplies = 3, shape(plyelastic) = (9, 2)"),
    (lambda tv: tv.laminate.getplyzcoord([1.0, 1.0], 3, 1),
     "(iply>=1 && iply<=nplies) failed for 2nd argument iply: iply = 3, nplies = 2 (the default, "
     "from plythickness's length)"),
    (lambda tv: tv.laminate.getsectionzcoord(np.ones((2, 1), np.int32), np.ones((3, 1))),
     "(shape(plythickness,0)==nplies) failed for 1st keyword nplies: nplies = 2 (the default, from "
     "sectionlist's 1st extent), shape(plythickness) = (3, 1)"),
    (lambda tv: tv.laminate.getamatrix(np.tile(PLY, (2, 1)).T, [0.0, 90.0], [1.0, 1.0], nplies="two"),
     "_tavrin.laminate.getamatrix() 1st keyword (nplies) can't be converted to int: received 'two' of type str"),
    (lambda tv: tv.laminate.getnormalstressfrombottom([1.0, 0.0], [0.0, 1.0], np.linspace(-1, 1, 5), np.zeros((4, 4))),
     "(shape(smallfmatrix,0)==2*nplies+1) failed for 4th argument smallfmatrix: received shape (4, 4), "
     "nplies = 2 (the default, (len(zcoord)-1)/2)"),
])
def test_error_texts_name_what_was_received(tv, call, text):
    with pytest.raises(Exception, match="^" + re.escape(text) + "$") as info:
        call(tv)
    assert type(info.value).__name__ == "error"


def test_in_out_arrays_without_overwrite_flag_say_the_input_is_kept(tv):
    for mod, name, r in inventory(tv):
        outs, req, opt = call_line_names(r.__doc__.splitlines()[0])
        returns = r.__doc__.split("\nReturns\n-------\n")[-1]
        for arg in set(outs) & set(req + opt):
            body = entries("\n\n\n" + returns)[arg][1]
            assert "Returned updated" in " ".join(body), f"{mod}.{name}: {arg}"
            if f"overwrite_{arg}" not in opt and "array" in entries("\n\n\n" + returns)[arg][0]:
                assert "left unchanged" in " ".join(body), f"{mod}.{name}: {arg}"


def callback_example(doc):
    block = doc.split("Example::\n\n", 1)[1]
    lines = []
    for line in block.splitlines():
        if not line.startswith("        "):
            break
        lines.append(line)
    return textwrap.dedent("\n".join(lines))


def test_call_back_examples_are_three_correct_lines(tv):
    for mod, name, r in inventory(tv):
        if "Call-back functions::" not in r.__doc__:
            continue
        example = callback_example(r.__doc__)
        assert len(example.splitlines()) == 3, f"{mod}.{name}"
        space = {}
        exec(compile(example, f"<{name} example>", "exec"), space)  # noqa: S102 - our own doc text


@pytest.mark.parametrize("returns, warned", [(lambda f, d, x: x * x - 2.0, 1), (lambda f, d, x: None, 0)])
def test_a_call_back_returning_a_value_warns_once_naming_the_routine(tv, returns, warned):
    def dfunc(f, d, x):
        f[()] = x * x - 2.0
        d[()] = 2.0 * x
        return returns(f, d, x)

    with warnings.catch_warnings(record=True) as caught:
        warnings.simplefilter("always")
        root, istat = tv.math.bdsafe(dfunc, 0.0, 2.0, [0.0], 1e-12, 50, 0)
    assert root == pytest.approx(2 ** 0.5, abs=1e-11) and istat == 0  # the computation is unchanged
    assert len(caught) == warned
    if warned:
        assert caught[0].category is RuntimeWarning
        assert str(caught[0].message).startswith("bdsafe: call-back dfunc returned a value of type float")


def test_module_docs_list_variables_by_kind(tv):
    assert "  i4 : constant int, bytes of the default integer\n" in tv.types.__doc__
    errorhandling = tv.errorhandling.__doc__
    assert re.search(r"^  errstat : int, ", errorhandling, re.M)
    assert re.search(r"^  errstring : string\(len=80\), ", errorhandling, re.M)
