"""The README's laminate quick start: its snippets run in order and print
exactly the output shown beneath each."""
import contextlib
import io
import pathlib
import re
import warnings

README = pathlib.Path(__file__).resolve().parents[2] / "README.md"
BLOCK = re.compile(r"```(python|text)\n(.*?)```", re.S)


def quick_start():
    text = README.read_text()
    start = text.index("## Laminate analysis: a quick start")
    end = text.index("\n## ", start + 1)
    return BLOCK.findall(text[start:end])


def test_quick_start_snippets_print_what_the_readme_shows():
    blocks = quick_start()
    space = {}
    snippets = 0
    for i, (kind, body) in enumerate(blocks):
        if kind != "python":
            continue
        snippets += 1
        out = io.StringIO()
        with contextlib.redirect_stdout(out), warnings.catch_warnings():
            warnings.simplefilter("error")  # a snippet that warns is not a model to copy
            exec(compile(body, f"README snippet {snippets}", "exec"), space)  # noqa: S102
        assert i + 1 < len(blocks) and blocks[i + 1][0] == "text", f"snippet {snippets} shows no output"
        assert out.getvalue() == blocks[i + 1][1], f"snippet {snippets}"
    assert snippets == 6
