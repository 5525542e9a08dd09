object FormA: TFormA
end
